#include "hostdata/Importe.h"
#include "orvlib/Formato.h"

#include <gtest/gtest.h>

namespace {

TEST(Importe, DeTextoExactoYDeDoubleAlPar) {
    const struct {
        const char* texto;
        qint64 diezmilesimos;
    } textos[] = {{"1234.5000", 12345000}, {"-0.25", -2500}, {"7", 70000},
                  {"0.0001", 1},           {"", 0},          {".5", 5000},
                  {"12.34567", 123457}};
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
