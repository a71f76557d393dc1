#include "orvlib/Formato.h"
#include "tienda/CifrasDeLinea.h"
#include "tienda/Importe.h"

#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(Importe, DeTextoExactoYDeDoubleAlPar) {
    const struct {
        const char* texto;
        qint64 diezmilesimos;
    } textos[] = {{"1234.5000", 12345000}, {"-0.25", -2500}, {"7", 70000},
                  {"0.0001", 1},           {"", 0},          {".5", 5000},
                  {"12.34567", 123457},    {"0.05", 500},    {" +3.07 ", 30700},
                  {"-12.3", -123000},      {"5.", 50000},    {"1e3", 10000000}};
    for (const auto& t : textos) {
        EXPECT_EQ(Importe::DeTexto(QString::fromLatin1(t.texto)).Diezmilesimos(), t.diezmilesimos)
            << t.texto;
    }
    EXPECT_EQ(Importe::DeDouble(1234.56789).Diezmilesimos(), 12345679);
    EXPECT_EQ(Importe::DeDouble(12.5 / 100).TextoSql(), QStringLiteral("0.125"));
    EXPECT_EQ(Importe::DeTexto(QStringLiteral("850.0000")).TextoSql(), QStringLiteral("850"));
    EXPECT_EQ(Importe::DeTexto(QStringLiteral("-3.5")).TextoSql(), QStringLiteral("-3.5"));
    EXPECT_EQ(Importe::DeTexto(QStringLiteral("10")).Escala(1, 3).TextoSql(),
              QStringLiteral("3.3333"));
    EXPECT_EQ(Importe::DeTexto(QStringLiteral("0.0005")).Escala(1, 2).Diezmilesimos(), 2);
    EXPECT_EQ(Importe::DeTexto(QStringLiteral("0.0003")).Escala(1, 2).Diezmilesimos(), 2);
}

Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

Decimal dec(const char* texto) {
    return Decimal::DeTexto(QString::fromLatin1(texto));
}

// Every operation at the edge of the type: what fits is exact, what does not throws instead of
// wrapping round to a wrong amount.
TEST(Importe, FueraDeRangoSeNiegaEnLugarDeDesbordar) {
    const Importe maximo = Importe::DeDiezmilesimos(std::numeric_limits<qint64>::max());
    const Importe grande = imp("999999999999.99");
    const struct {
        const char* que;
        std::function<Importe()> operacion;
        bool cabe;
    } casos[] = {
        {"máximo + 0", [&] { return maximo + Importe(); }, true},
        {"máximo + 0.0001", [&] { return maximo + imp("0.0001"); }, false},
        {"-máximo - 1", [&] { return Importe() - maximo - imp("0.0002"); }, false},
        {"suma acumulada",
         [&] {
             Importe s = maximo;
             return s += imp("1");
         },
         false},
        {"precio enorme × 9,999", [&] { return Importe::PorCantidad(dec("9999"), grande); }, false},
        {"precio enorme × 1", [&] { return Importe::PorCantidad(dec("1"), grande); }, true},
        {"impuesto del máximo", [&] { return maximo.PorTasa(dec("200")); }, false},
        {"escala por 2", [&] { return maximo.Escala(2, 1); }, false},
        {"centavos por 2", [&] { return maximo.EnCentavos(2, 1); }, false},
        {"texto de 20 cifras", [] { return imp("12345678901234567890"); }, false},
        {"texto al límite", [] { return imp("922337203685477.5807"); }, true},
        {"double infinito", [] { return Importe::DeDouble(HUGE_VAL); }, false},
        {"double NaN", [] { return Importe::DeDouble(std::nan("")); }, false},
        {"double 1e15", [] { return Importe::DeDouble(1e15); }, false},
    };
    for (const auto& c : casos) {
        if (c.cabe) {
            EXPECT_NO_THROW(c.operacion()) << c.que;
        } else {
            EXPECT_THROW(c.operacion(), ErrorDeImporte) << c.que;
        }
    }
}

// Printed figures round to cents with halves away from zero, whatever the sign.
TEST(Importe, CentavosConMitadesLejosDeCero) {
    const struct {
        const char* cantidad;
        const char* precio;
        const char* importe;
    } lineas[] = {
        {"3", "10.555", "31.67"},         {"0.333", "45.50", "15.15"}, {"1.5", "0.01", "0.02"},
        {"-1.5", "0.01", "-0.02"},        {"0.75", "12.34", "9.26"},   {"2", "0.0025", "0.01"},
        {"0.333", "1234.5678", "411.11"},
    };
    for (const auto& l : lineas) {
        EXPECT_EQ(Importe::PorCantidad(dec(l.cantidad), imp(l.precio)), imp(l.importe))
            << l.cantidad << " × " << l.precio;
    }
    EXPECT_EQ(imp("12843.96").PorTasa(dec("16")), imp("2055.03"));
    EXPECT_EQ(imp("0.3125").PorTasa(dec("8")), imp("0.03"));
    EXPECT_EQ(imp("31.25").PorTasa(dec("26.5")), imp("8.28"));
    EXPECT_EQ(imp("-31.25").PorTasa(dec("26.5")), imp("-8.28"));
    EXPECT_EQ(imp("0.125").EnCentavos(), imp("0.13"));
    EXPECT_EQ(imp("-0.125").EnCentavos(), imp("-0.13"));
    EXPECT_EQ(imp("180").EnCentavos(50000, 1000000), imp("9"));
}

// A line's figures under each compounding rule of configura, and stored figures kept.
TEST(CifrasDeLinea, CadaReglaDeImpuestos) {
    using R = CifrasDeLinea::Reglas;
    const struct {
        R reglas;
        const char* cantidad;
        const char* precio;
        const char* iva;
        const char* ieps;
        // amount, IEPS base and tax, IVA base and tax
        const char* esperado[5];
    } casos[] = {
        {R{false, false}, "1", "100", "16", "8", {"100", "100", "8", "100", "16"}},
        {R{true, false}, "1", "100", "16", "8", {"100", "100", "8", "108", "17.28"}},
        {R{false, true}, "1", "100", "16", "8", {"100", "116", "9.28", "100", "16"}},
        {R{true, true}, "1", "100", "16", "8", {"100", "100", "8", "108", "17.28"}},
        {R{true, false},
         "0.333",
         "57.10",
         "16",
         "53",
         {"19.01", "19.01", "10.08", "29.09", "4.65"}},
        {R{true, false}, "1.5", "20", "0", "26.5", {"30", "30", "7.95", "37.95", "0"}},
        {R{false, false}, "3", "10.555", "0", "0", {"31.67", "31.67", "0", "31.67", "0"}},
    };
    for (const auto& c : casos) {
        const CifrasDeLinea f = CifrasDeLinea::Calcula(dec(c.cantidad), imp(c.precio), dec(c.iva),
                                                       dec(c.ieps), c.reglas);
        const Importe obtenido[] = {f.importe, f.baseImpAd, f.importeImpAd, f.baseIva,
                                    f.importeIva};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(obtenido[i], imp(c.esperado[i]))
                << c.cantidad << " × " << c.precio << " IVA " << c.iva << " IEPS " << c.ieps
                << " cifra " << i;
        }
    }
    // Stored figures stand; only those at 0 are worked out, from the stored ones.
    const CifrasDeLinea guardadas{Importe(), Importe(),  imp("100"),
                                  Importe(), imp("200"), Importe()};
    const CifrasDeLinea f = CifrasDeLinea::Completa(guardadas, dec("1"), imp("100"), dec("16"),
                                                    dec("8"), R{true, false});
    EXPECT_EQ(f.importeImpAd, imp("8"));
    EXPECT_EQ(f.baseIva, imp("200"));
    EXPECT_EQ(f.importeIva, imp("32"));
}

// The note's discounts lower a line in cascade, each step in cents, and the taxes are charged
// on what is left; a net base the host stored stands for the net amount.
TEST(CifrasDeLinea, DescuentosEnCascadaYBasesNetas) {
    using R = CifrasDeLinea::Reglas;
    const struct {
        const char* cantidad;
        const char* precio;
        std::array<const char*, 5> descuentos;
        R reglas;
        const char* baseImpAdGuardada;
        // net amount, IEPS base and tax, IVA base and tax (IVA 16 %, IEPS 8 %)
        const char* esperado[5];
    } casos[] = {
        {"1", "200", {"10", "5", "0", "0", "0"}, R{}, "0", {"171", "171", "13.68", "171", "27.36"}},
        {"1", "200", {"100", "0", "0", "0", "0"}, R{}, "0", {"0", "0", "0", "0", "0"}},
        {"0.75",
         "544.30",
         {"0", "0", "0", "0", "0"},
         R{},
         "0",
         {"408.23", "408.23", "32.66", "408.23", "65.32"}},
        {"3",
         "10.555",
         {"12.5", "3", "0", "0", "0"},
         R{true, false},
         "0",
         {"26.88", "26.88", "2.15", "29.03", "4.64"}},
        {"3",
         "10.555",
         {"12.5", "3", "2", "0", "0"},
         R{false, true},
         "0",
         {"26.34", "30.55", "2.44", "26.34", "4.21"}},
        {"2",
         "100",
         {"10", "0", "0", "0", "0"},
         R{},
         "179.99",
         {"179.99", "179.99", "14.40", "179.99", "28.80"}},
        // A stored base filled without the discounts is not the net amount: they are kept.
        {"3",
         "12.345",
         {"10", "5", "0", "0", "0"},
         R{},
         "37.03",
         {"31.67", "31.67", "2.53", "31.67", "5.07"}},
    };
    for (const auto& c : casos) {
        CifrasDeLinea::Descuentos d;
        for (int n = 0; n < 5; ++n) {
            d.tasas[n] = dec(c.descuentos[n]);
        }
        CifrasDeLinea guardadas;
        guardadas.baseImpAd = imp(c.baseImpAdGuardada);
        const CifrasDeLinea f = CifrasDeLinea::Completa(guardadas, dec(c.cantidad), imp(c.precio),
                                                        dec("16"), dec("8"), c.reglas, d);
        const Importe obtenido[] = {f.neto, f.baseImpAd, f.importeImpAd, f.baseIva, f.importeIva};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(obtenido[i], imp(c.esperado[i]))
                << c.cantidad << " × " << c.precio << " " << c.descuentos[0] << " cifra " << i;
        }
        EXPECT_EQ(f.importe, Importe::PorCantidad(dec(c.cantidad), imp(c.precio)));
    }
}

TEST(Formato, PatronesDeNumero) {
    const struct {
        double valor;
        const char* patron;
        const char* texto;
    } casos[] = {
        {1234.5, "###,###,##0.00", "1,234.50"},
        {1234567.891, "#,0.00", "1,234,567.89"},
        {0, "###,###,##0.00", "0.00"},
        {-1234.5, "#,0.00", "-1,234.50"},
        {1500, "###,###,##0", "1,500"},
        {12.5, "#0.00", "12.50"},
        {2.675, "#0.00", "2.68"},
        {999.995, "###,###,##0.00", "1,000.00"},
        {123456789.5, "###,###,##0", "123,456,790"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Formato::Numero(c.valor, QString::fromLatin1(c.patron)),
                  QString::fromLatin1(c.texto))
            << c.valor << " " << c.patron;
    }
    EXPECT_EQ(Formato::DiaCorto(QDate(2026, 12, 5)), QStringLiteral("05/dic/2026"));
}

} // namespace
