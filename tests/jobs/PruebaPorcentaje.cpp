#include "hostdata/Rechazo.h"
#include "jobs/percent_reprint/ReimpresionConPorcentaje.h"
#include "support/BaseDePrueba.h"
#include "support/NotasDePrueba.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

class Porcentaje : public ::testing::Test {
protected:
    BaseDePrueba base;
    ReimpresionConPorcentaje trabajo{base.conexion()};

    QString copia(int id, const char* campo, const char* tabla = "tmpremisiones") {
        return base
            .valor(QStringLiteral("SELECT %1 FROM %2 WHERE Id=%3")
                       .arg(QString::fromLatin1(campo), QString::fromLatin1(tabla))
                       .arg(id))
            .toString();
    }
};

TEST_F(Porcentaje, QuinceMenosEnCopiasYResumen) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 1000, 160, 0, QStringLiteral("A"), 20}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Descuento=50"));
    base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET PrecioBruto=1160"));
    const ResumenDePorcentaje r = trabajo.Comprueba(10, 30, QStringLiteral(" A "), imp("15"));
    EXPECT_EQ(copia(1, "Subtotal"), QStringLiteral("850.0000"));
    EXPECT_EQ(copia(1, "IVA"), QStringLiteral("136.0000"));
    EXPECT_EQ(copia(1, "Descuento"), QStringLiteral("42.5000"));
    EXPECT_EQ(copia(1, "Factura"), QStringLiteral("20"));
    EXPECT_EQ(copia(1, "PrecioNeto", "tmpremisionesdetalle"), QStringLiteral("850.0000"));
    EXPECT_EQ(copia(1, "PrecioBruto", "tmpremisionesdetalle"), QStringLiteral("986.0000"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT Subtotal FROM remisiones WHERE Id=1")).toString(),
              QStringLiteral("1000.0000"));
    EXPECT_EQ(ReimpresionConPorcentaje::Resumen(r),
              QStringLiteral("Subtotal real:        1,000.00\r\n"
                             "I. V. A. real:          160.00\r\n"
                             "Imp. ad. real:            0.00\r\n"
                             "Total real:           1,160.00\r\n"
                             "\r\n"
                             "Nuevo subtotal:         850.00\r\n"
                             "Nuevo I. V. A.:         136.00\r\n"
                             "Nuevo imp. ad.:           0.00\r\n"
                             "Nuevo total:            986.00"));
}

TEST_F(Porcentaje, SoloLaSerieSinCanceladasYRangoVacio) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 5},
                       {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("B"), 6},
                       {3, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 7, 1},
                       {4, QDate(2026, 11, 2), 200, 32, 0, QStringLiteral("A"), 8},
                       {5, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 9}});
    const ResumenDePorcentaje r = trabajo.Comprueba(6, 8, QStringLiteral("A"), imp("12.5"));
    EXPECT_EQ(r.remisiones, 1);
    EXPECT_EQ(r.subtotalReal, imp("200"));
    EXPECT_EQ(copia(4, "IVA"), QStringLiteral("28.0000"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT GROUP_CONCAT(Id) FROM tmpremisiones")).toString(),
              QStringLiteral("4"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle")).toInt(), 1);

    const ResumenDePorcentaje vacio = trabajo.Comprueba(100, 200, QStringLiteral("A"), imp("12.5"));
    EXPECT_EQ(vacio.remisiones, 0);
    EXPECT_TRUE(ReimpresionConPorcentaje::Resumen(vacio).contains(
        QStringLiteral("Nuevo total:              0.00")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 0);
}

TEST_F(Porcentaje, PorcentajesYRangosQueNoSirvenSeRechazanSinTocarNada) {
    for (const char* p : {"0", "-5", "100", "150"}) {
        EXPECT_THROW(trabajo.Comprueba(1, 10, QString(), imp(p)), Rechazo) << p;
    }
    EXPECT_THROW(trabajo.Comprueba(10, 1, QString(), imp("15")), Rechazo);
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

TEST(ReimpresionConPorcentaje, FactorReduccionYFormato) {
    const struct {
        const char* porcentaje;
        const char* factor;
    } factores[] = {{"15", "0.15"}, {"12.5", "0.125"},   {"33.33", "0.3333"},
                    {"0.005", "0"}, {"0.015", "0.0002"}, {"99.99", "0.9999"}};
    for (const auto& f : factores) {
        EXPECT_EQ(ReimpresionConPorcentaje::Factor(imp(f.porcentaje)).TextoSql(),
                  QString::fromLatin1(f.factor))
            << f.porcentaje;
    }
    const struct {
        const char* importe;
        const char* porcentaje;
        const char* reducido;
    } reducciones[] = {{"1000", "15", "850"},      {"160", "15", "136"},
                       {"0.01", "50", "0.005"},    {"10.0001", "33.33", "6.6671"},
                       {"0.0003", "50", "0.0001"}, {"-100", "10", "-90"}};
    for (const auto& r : reducciones) {
        EXPECT_EQ(
            ReimpresionConPorcentaje::ReduceImporte(imp(r.importe), imp(r.porcentaje)).TextoSql(),
            QString::fromLatin1(r.reducido))
            << r.importe << " " << r.porcentaje;
    }
    EXPECT_EQ(ReimpresionConPorcentaje::FormatoImporte(imp("1234.5")),
              QStringLiteral("      1,234.50"));
    EXPECT_EQ(ReimpresionConPorcentaje::FormatoImporte(imp("123456789012.5")),
              QStringLiteral("123,456,789,012.50"));
}

} // namespace
