#include "apoyo/BaseDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "servicios/Rechazo.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

#include <QMap>
#include <QSqlQuery>
#include <array>
#include <gtest/gtest.h>

namespace {

Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

Decimal dec(const char* texto) {
    return Decimal::DeTexto(QString::fromLatin1(texto));
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
    AgregaNotas(
        base, {{1, QDate(2026, 11, 2), 1000, 160, 0, QStringLiteral("A"), 20, 0, {{1, 1000, 16}}}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Descuento=50"));
    base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET PrecioBruto=1160"));
    const ResumenDePorcentaje r = trabajo.Comprueba(10, 30, QStringLiteral(" A "), dec("15"));
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

// Each reduced copy is a note that adds up: its prices are reduced to four decimals, its
// figures in cents, its header is the sum of its lines, and the summary's new figures are the
// sums of the copies.
TEST_F(Porcentaje, CadaCopiaReducidaSumaSusPartidas) {
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA, AplicaImpAd) VALUES (1, 0)"));
    const QVector<PartidaDePrueba> partidas = {
        {0.333, 57.10, 16, 53}, {1.5, 19.99, 8, 0}, {0.75, 12.345, 0, 26.5}, {3, 10.555, 16, 8}};
    AgregaNotas(base,
                {{1, QDate(2026, 11, 2), 89.93, 12.52, 15.06, QStringLiteral("A"), 1, 0, partidas},
                 {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 2, 0, {{1, 100, 16}}}});
    const struct {
        const char* porcentaje;
        const char* precios; // the copy's prices, in Partida order
        const char* subtotal;
    } casos[] = {
        {"7", "53.1030,18.5907,11.4808,9.8162", "83.63"},
        {"15", "48.5350,16.9915,10.4932,8.9718", "76.44"},
        {"33.33", "38.0686,13.3273,8.2304,7.0370", "59.95"},
        {"50", "28.5500,9.9950,6.1725,5.2775", "44.96"},
    };
    for (const auto& c : casos) {
        const ResumenDePorcentaje r =
            trabajo.Comprueba(1, 2, QStringLiteral("A"), dec(c.porcentaje));
        EXPECT_EQ(base.valor(QStringLiteral("SELECT GROUP_CONCAT(PrecioNeto ORDER BY Partida) "
                                            "FROM tmpremisionesdetalle WHERE Id=1"))
                      .toString(),
                  QString::fromLatin1(c.precios))
            << c.porcentaje;
        EXPECT_EQ(Importe::DeVariant(copia(1, "Subtotal")), imp(c.subtotal)) << c.porcentaje;
        // Header = sums of lines; line figures in cents; IVA over price plus IEPS.
        QSqlQuery q = base.conexion().consulta(QStringLiteral(
            "SELECT t.Id, t.Subtotal, t.IVA, t.ImpuestoAd, d.Cantidad, d.PrecioNeto, d.IVA, "
            "d.ImpuestoAd, d.BaseImpuestoAd, d.ImporteImpuestoAd, d.BaseIVA, d.ImporteIVA FROM "
            "tmpremisiones t JOIN tmpremisionesdetalle d ON d.Id=t.Id ORDER BY t.Id, d.Partida"));
        QMap<int, std::array<Importe, 3>> sumas;
        QMap<int, std::array<Importe, 3>> encabezados;
        while (q.next()) {
            const auto v = [&q](int i) { return Importe::DeVariant(q.value(i)); };
            const auto d = [&q](int i) { return Decimal::DeVariant(q.value(i)); };
            const Importe importe = Importe::PorCantidad(d(4), v(5));
            EXPECT_EQ(v(8), importe);
            EXPECT_EQ(v(9), v(8).PorTasa(d(7)));
            EXPECT_EQ(v(10), importe + v(9));
            EXPECT_EQ(v(11), v(10).PorTasa(d(6)));
            auto& s = sumas[q.value(0).toInt()];
            s[0] += importe;
            s[1] += v(11);
            s[2] += v(9);
            encabezados[q.value(0).toInt()] = {v(1), v(2), v(3)};
        }
        EXPECT_EQ(sumas, encabezados) << c.porcentaje;
        const Importe subtotales = sumas[1][0] + sumas[2][0];
        EXPECT_EQ(r.subtotalNuevo, subtotales);
        EXPECT_EQ(r.totalNuevo(),
                  subtotales + sumas[1][1] + sumas[2][1] + sumas[1][2] + sumas[2][2]);
        EXPECT_EQ(r.subtotalReal, imp("189.93"));
    }
}

TEST_F(Porcentaje, SoloLaSerieSinCanceladasYRangoVacio) {
    AgregaNotas(base,
                {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 5},
                 {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("B"), 6},
                 {3, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 7, 1},
                 {4, QDate(2026, 11, 2), 200, 32, 0, QStringLiteral("A"), 8, 0, {{2, 100, 16}}},
                 {5, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 9}});
    const ResumenDePorcentaje r = trabajo.Comprueba(6, 8, QStringLiteral("A"), dec("12.5"));
    EXPECT_EQ(r.remisiones, 1);
    EXPECT_EQ(r.subtotalReal, imp("200"));
    EXPECT_EQ(copia(4, "IVA"), QStringLiteral("28.0000"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT GROUP_CONCAT(Id) FROM tmpremisiones")).toString(),
              QStringLiteral("4"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle")).toInt(), 1);

    const ResumenDePorcentaje vacio = trabajo.Comprueba(100, 200, QStringLiteral("A"), dec("12.5"));
    EXPECT_EQ(vacio.remisiones, 0);
    EXPECT_TRUE(ReimpresionConPorcentaje::Resumen(vacio).contains(
        QStringLiteral("Nuevo total:              0.00")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 0);
}

TEST_F(Porcentaje, PorcentajesYRangosQueNoSirvenSeRechazanSinTocarNada) {
    for (const char* p : {"0", "-5", "100", "150"}) {
        EXPECT_THROW(trabajo.Comprueba(1, 10, QString(), dec(p)), Rechazo) << p;
    }
    EXPECT_THROW(trabajo.Comprueba(10, 1, QString(), dec("15")), Rechazo);
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

// A note issued without IVA gives a copy without IVA whatever rate its lines carry; a
// discounted note's copy keeps its discount as what takes the reduced lines to the subtotal:
// 1 × 200 less 10 % reduced by 10 % is 180 less 18.
TEST_F(Porcentaje, SinIvaNoSeCobraYElDescuentoQuedaPositivo) {
    AgregaNotas(
        base, {{1, QDate(2026, 11, 2), 1000, 0, 0, QStringLiteral("A"), 30, 0, {{1, 1000, 16}}},
               {2, QDate(2026, 11, 2), 180, 28.8, 0, QStringLiteral("A"), 31, 0, {{1, 200, 16}}}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Descuento=20, Desc1=10 WHERE Id=2"));
    trabajo.Comprueba(30, 31, QStringLiteral("A"), dec("10"));
    const struct {
        int id;
        const char* subtotal;
        const char* iva;
        const char* descuento;
        const char* ivaDeLaPartida;
    } casos[] = {
        {1, "900.0000", "0.0000", "0.0000", "0.0000"},
        {2, "162.0000", "25.9200", "18.0000", "25.9200"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(copia(c.id, "Subtotal"), QString::fromLatin1(c.subtotal)) << c.id;
        EXPECT_EQ(copia(c.id, "IVA"), QString::fromLatin1(c.iva)) << c.id;
        EXPECT_EQ(copia(c.id, "Descuento"), QString::fromLatin1(c.descuento)) << c.id;
        EXPECT_EQ(copia(c.id, "ImporteIVA", "tmpremisionesdetalle"),
                  QString::fromLatin1(c.ivaDeLaPartida))
            << c.id;
    }
}

// The reduction's factor is p ÷ 100 to four decimals, halves to even; a summary amount is
// right-aligned in 14 characters and a longer one is kept whole.
TEST(ReimpresionConPorcentaje, FactorYFormato) {
    const struct {
        const char* porcentaje;
        const char* factor;
    } factores[] = {{"15", "0.15"}, {"12.5", "0.125"},   {"33.33", "0.3333"},
                    {"0.005", "0"}, {"0.015", "0.0002"}, {"99.99", "0.9999"}};
    for (const auto& f : factores) {
        EXPECT_EQ(ReimpresionConPorcentaje::Factor(dec(f.porcentaje)).TextoSql(),
                  QString::fromLatin1(f.factor))
            << f.porcentaje;
    }
    EXPECT_EQ(ReimpresionConPorcentaje::FormatoImporte(imp("1234.5")),
              QStringLiteral("      1,234.50"));
    EXPECT_EQ(ReimpresionConPorcentaje::FormatoImporte(imp("123456789012.5")),
              QStringLiteral("123,456,789,012.50"));
}

} // namespace

namespace {

// A price of a trillion on 9,999 units would overflow the sums: the range is refused before the
// working tables change, naming the note, its line and the limit; the last copies stay.
TEST_F(Porcentaje, UnImporteFueraDeRangoSeNiegaSinTocarLasCopias) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 20},
                       {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 21}});
    trabajo.Comprueba(20, 21, QStringLiteral("A"), dec("10"));
    base.ejecuta(QStringLiteral(
        "UPDATE remisionesdetalle SET PrecioNeto=999999999999.99, Cantidad=9999 WHERE Id=2"));
    try {
        trabajo.Comprueba(20, 21, QStringLiteral("A"), dec("10"));
        ADD_FAILURE() << "se aceptó un importe fuera de rango";
    } catch (const Rechazo& r) {
        EXPECT_TRUE(r.texto().startsWith(QStringLiteral("La remisión A 21 no se puede usar: en su "
                                                        "partida 1, PrecioNeto pasa de "
                                                        "100,000,000,000.00")))
            << qPrintable(r.texto());
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 2);
    EXPECT_EQ(copia(2, "Subtotal"), QStringLiteral("90.0000"));
}

} // namespace
