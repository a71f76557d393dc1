#include "apoyo/ImpresionQt.h"
#include "orvlib/DeMonedas.h"

#include <gtest/gtest.h>

namespace {

TEST(DeMonedas, NumerosComoSeEscribenEnLosDocumentos) {
    const struct {
        qint64 importe;
        const char* letras;
    } casos[] = {
        {0, "CERO"},
        {1, "UN"},
        {15, "QUINCE"},
        {16, "DIECISÉIS"},
        {20, "VEINTE"},
        {21, "VEINTIÚN"},
        {22, "VEINTIDÓS"},
        {23, "VEINTITRÉS"},
        {26, "VEINTISÉIS"},
        {30, "TREINTA"},
        {31, "TREINTA Y UN"},
        {99, "NOVENTA Y NUEVE"},
        {100, "CIEN"},
        {101, "CIENTO UN"},
        {115, "CIENTO QUINCE"},
        {199, "CIENTO NOVENTA Y NUEVE"},
        {200, "DOSCIENTOS"},
        {500, "QUINIENTOS"},
        {555, "QUINIENTOS CINCUENTA Y CINCO"},
        {700, "SETECIENTOS"},
        {900, "NOVECIENTOS"},
        {1000, "MIL"},
        {1001, "MIL UN"},
        {1100, "MIL CIEN"},
        {1234, "MIL DOSCIENTOS TREINTA Y CUATRO"},
        {2000, "DOS MIL"},
        {21000, "VEINTIÚN MIL"},
        {31000, "TREINTA Y UN MIL"},
        {100000, "CIEN MIL"},
        {101000, "CIENTO UN MIL"},
        {121121, "CIENTO VEINTIÚN MIL CIENTO VEINTIÚN"},
        {999999, "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE"},
        {1000000, "UN MILLÓN DE"},
        {1000001, "UN MILLÓN UN"},
        {1200000, "UN MILLÓN DOSCIENTOS MIL"},
        {2000000, "DOS MILLONES DE"},
        {21000000, "VEINTIÚN MILLONES DE"},
        {100000000, "CIEN MILLONES DE"},
        {1000000000, "MIL MILLONES DE"},
        {1001000000, "MIL UN MILLONES DE"},
        {21000000000, "VEINTIÚN MIL MILLONES DE"},
        {21000000005, "VEINTIÚN MIL MILLONES CINCO"},
        {999999999999, "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE MILLONES "
                       "NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE"},
        {1000000000000, "UN BILLÓN DE"},
        {2000003000005, "DOS BILLONES TRES MILLONES CINCO"},
        {922337203685477, "NOVECIENTOS VEINTIDÓS BILLONES TRESCIENTOS TREINTA Y SIETE MIL "
                          "DOSCIENTOS TRES MILLONES SEISCIENTOS OCHENTA Y CINCO MIL CUATROCIENTOS "
                          "SETENTA Y SIETE"},
        {-2, "MENOS DOS"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(DeMonedas::Numeros(c.importe), QString::fromUtf8(c.letras) + QLatin1Char(' '))
            << c.importe;
    }
    EXPECT_EQ(DeMonedas::Centavos(5), QStringLiteral(" 05"));
    EXPECT_EQ(DeMonedas::Centavos(50), QStringLiteral(" 50"));
    EXPECT_EQ(DeMonedas::Centavos(0), QStringLiteral(" 00"));
}

} // namespace
