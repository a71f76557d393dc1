#include "impresion/Puntero.h"
#include "interfaz/DialogosGuionados.h"
#include "interfaz/LimiteDeEventos.h"
#include "orvlib/ErrorOrvlib.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(LimiteDeEventos, UnErrorSeExplicaEnLaAlertaConElTextoDelServidorEnLosDetalles) {
    DialogosGuionados dialogos;
    PunteroOcupado();
    int perdidas = 0;
    const bool ok = Protegido(
        [] {
            throw ErrorOrvlib(1146, QStringLiteral("Table 'datos1.remisiones' doesn't exist"),
                              QStringLiteral("SELECT * FROM remisiones"));
        },
        [&perdidas] { ++perdidas; });
    EXPECT_FALSE(ok);
    EXPECT_EQ(perdidas, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    const auto& caja = dialogos.cajas().front();
    EXPECT_EQ(caja.titulo, QStringLiteral("Alerta"));
    EXPECT_TRUE(caja.texto.startsWith(QStringLiteral("Falta una tabla"))) << qPrintable(caja.texto);
    EXPECT_EQ(caja.detalle, QStringLiteral("Error no. 1146: Table 'datos1.remisiones' doesn't exist"
                                           "\r\nSELECT * FROM remisiones"));

    EXPECT_FALSE(Protegido(
        [] {
            throw ErrorOrvlib(2006, QStringLiteral("MySQL server has gone away"),
                              QStringLiteral("SELECT 1"));
        },
        [&perdidas] { ++perdidas; }));
    EXPECT_EQ(perdidas, 1);
    EXPECT_TRUE(dialogos.cajas().back().texto.startsWith(QStringLiteral("Se perdió la conexión")));

    EXPECT_FALSE(Protegido([] { throw std::runtime_error("otra falla"); }));
    EXPECT_EQ(dialogos.cajas().back().texto, QStringLiteral("otra falla"));
    EXPECT_TRUE(Protegido([] {}));
    EXPECT_EQ(dialogos.cajas().size(), 3);
}

TEST(Puntero, OcupadoYNormalDevuelvenElAnterior) {
    EXPECT_EQ(PunteroNormal(), 0);
    EXPECT_EQ(PunteroOcupado(), 0);
    EXPECT_EQ(PunteroOcupado(), 11);
    EXPECT_EQ(PunteroNormal(), 11);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
