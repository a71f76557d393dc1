#include "apoyo/BaseDePrueba.h"
#include "apoyo/NotasConDescuento.h"
#include "apoyo/NotasDePrueba.h"
#include "servicios/Rechazo.h"
#include "tienda/ReglasDeImpuestos.h"
#include "trabajos/porcentaje/CopiasReducidas.h"
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

namespace {

// The reduced copies as the C++ rule makes them, line by line from the host's originals of the
// notes in tmpremisiones: what the server's statements must give, to the cent.
struct CopiaEsperada {
    QMap<int, QStringList> encabezados;        // Id → Subtotal, IVA, ImpuestoAd, Descuento
    QMap<QPair<int, int>, QStringList> lineas; // Id, Partida → prices, bases and taxes
};

QString cifra(Importe valor) {
    return valor.TextoSql();
}

CopiaEsperada ReduccionDeReferencia(Conexion& cnn, Decimal factor) {
    const CifrasDeLinea::Reglas reglas = ReglasDeImpuestos(cnn);
    QSqlQuery q = cnn.consulta(QStringLiteral(
        "SELECT d.Id, d.Partida, d.Cantidad, d.PrecioNeto, d.PrecioBruto, d.IVA, d.ImpuestoAd, "
        "d.BaseImpuestoAd, d.ImporteImpuestoAd, d.BaseIVA, d.ImporteIVA, t.IVA, t.ImpuestoAd, "
        "t.Descuento, t.Desc1, t.Desc2, t.Desc3, t.Desc4, t.Desc5, (SELECT p.Bloqueado FROM "
        "productos p WHERE p.clave=d.Producto LIMIT 1) FROM remisionesdetalle d JOIN remisiones "
        "t ON t.Id=d.Id WHERE t.Id IN (SELECT Id FROM tmpremisiones) ORDER BY d.Id, d.Partida"));
    const auto imp = [&q](int i) { return Importe::DeVariant(q.value(i)); };
    const auto dec = [&q](int i) { return Decimal::DeVariant(q.value(i)); };
    CopiaEsperada esperada;
    QMap<int, std::array<Importe, 5>> sumas; // importe, neto, IVA, IEPS, Descuento original
    QMap<int, bool> conDescuentos;
    while (q.next()) {
        const int id = q.value(0).toInt();
        const Decimal tasaIva = imp(11) == Importe() ? Decimal() : dec(5);
        const Decimal tasaImpAd = imp(12) == Importe() ? Decimal() : dec(6);
        CifrasDeLinea::Descuentos descuentos;
        for (int n = 0; n < 5; ++n) {
            descuentos.tasas[n] = dec(14 + n);
        }
        const bool lleva = descuentos.Hay() && q.value(19).toInt() != 1;
        const Importe precio = CopiasReducidas::Reducido(imp(3), factor);
        const CifrasDeLinea c = CopiasReducidas::Linea(
            Importe::PorCantidad(dec(2), imp(3)), dec(2), precio, tasaIva, tasaImpAd,
            lleva ? descuentos : CifrasDeLinea::Descuentos(), factor, reglas);
        esperada.lineas[{id, q.value(1).toInt()}] = {
            cifra(precio),      cifra(CopiasReducidas::Reducido(imp(4), factor)),
            cifra(c.baseImpAd), cifra(c.importeImpAd),
            cifra(c.baseIva),   cifra(c.importeIva)};
        auto& s = sumas[id];
        s = {s[0] + c.importe, s[1] + c.neto, s[2] + c.importeIva, s[3] + c.importeImpAd, imp(13)};
        conDescuentos[id] = conDescuentos.value(id) || lleva;
    }
    const qint64 resto = 10000 - factor.Diezmilesimos();
    QSqlQuery t = cnn.consulta(QStringLiteral(
        "SELECT Id, Subtotal, IVA, ImpuestoAd, Descuento FROM remisiones WHERE Id IN (SELECT Id "
        "FROM tmpremisiones)"));
    while (t.next()) {
        const int id = t.value(0).toInt();
        const auto reducido = [&t, resto](int i) {
            return cifra(Importe::DeVariant(t.value(i)).EnCentavos(resto, 10000));
        };
        if (!sumas.contains(id)) {
            esperada.encabezados[id] = {reducido(1), reducido(2), reducido(3), reducido(4)};
            continue;
        }
        const auto& s = sumas[id];
        esperada.encabezados[id] = {cifra(s[1]), cifra(s[2]), cifra(s[3]),
                                    conDescuentos[id] ? cifra(s[0] - s[1]) : reducido(4)};
    }
    return esperada;
}

// What the server left in the working tables, in the same shape.
CopiaEsperada CopiasDelServidor(Conexion& cnn) {
    CopiaEsperada copias;
    const auto cifras = [](const QSqlQuery& q, int desde, int hasta) {
        QStringList valores;
        for (int i = desde; i <= hasta; ++i) {
            valores << cifra(Importe::DeVariant(q.value(i)));
        }
        return valores;
    };
    QSqlQuery d = cnn.consulta(QStringLiteral(
        "SELECT Id, Partida, PrecioNeto, PrecioBruto, BaseImpuestoAd, ImporteImpuestoAd, BaseIVA, "
        "ImporteIVA FROM tmpremisionesdetalle"));
    while (d.next()) {
        copias.lineas[{d.value(0).toInt(), d.value(1).toInt()}] = cifras(d, 2, 7);
    }
    QSqlQuery t = cnn.consulta(
        QStringLiteral("SELECT Id, Subtotal, IVA, ImpuestoAd, Descuento FROM tmpremisiones"));
    while (t.next()) {
        copias.encabezados[t.value(0).toInt()] = cifras(t, 1, 4);
    }
    return copias;
}

// The server's reduced copies are the C++ rule's, note by note and line by line, on the whole
// table of discounted notes, on a note whose stored base lost its discounts and on a note
// without lines, at every percentage.
TEST_F(Porcentaje, ElServidorReduceComoLaReglaDeReferencia) {
    EscribeNotasConDescuento(base, QDate(2026, 12, 1));
    // Note 8: 3 × 12.345 with 10 % then 5 % off, its IEPS base stored as the undiscounted
    // amount; note 9 has no lines.
    AgregaNotas(base, {{8,
                        QDate(2026, 12, 1),
                        31.67,
                        5.07,
                        0,
                        QStringLiteral("A"),
                        108,
                        0,
                        {{3, 12.345, 16, 0, 37.03, 0, 37.03, 5.92}}},
                       {9, QDate(2026, 12, 1), 0, 0, 0, QStringLiteral("A"), 109, 0, {}}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Desc1=10, Desc2=5, Descuento=5.37 WHERE "
                                "Id=8"));
    base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle WHERE Id=9"));
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Subtotal=100.01, IVA=16.01, "
                                "ImpuestoAd=3.33, Descuento=12.35 WHERE Id=9"));
    for (const char* p : {"7", "15", "33.33", "50", "99.99"}) {
        const Decimal porcentaje = dec(p);
        trabajo.Comprueba(101, 109, QStringLiteral("A"), porcentaje);
        const CopiaEsperada esperada =
            ReduccionDeReferencia(base.conexion(), ReimpresionConPorcentaje::Factor(porcentaje));
        const CopiaEsperada copias = CopiasDelServidor(base.conexion());
        EXPECT_EQ(copias.encabezados.size(), 9) << p;
        EXPECT_EQ(copias.encabezados, esperada.encabezados) << p;
        EXPECT_EQ(copias.lineas, esperada.lineas) << p;
    }
}

// A line's stored base is its net amount only where it agrees with its note's discounts: 3 ×
// 12.345 with 10 % then 5 % off and a base stored without them (37.03), reduced by 33.33 %,
// keeps its discount whichever base the store's rule takes as the net amount.
TEST_F(Porcentaje, UnaBaseGuardadaSinDescuentosNoSeLosQuita) {
    const struct {
        const char* reglas;     // configura's
        const char* descuentos; // the note's
        double baseIva, baseIeps;
        const char* neto;
        const char* iva;
        const char* descuento;
    } casos[] = {
        {"AplicaIVA=0, AplicaImpAd=0", "Desc1=10, Desc2=5", 37.03, 0, "21.11", "3.38", "3.58"},
        {"AplicaIVA=0, AplicaImpAd=1", "Desc1=10, Desc2=5", 37.03, 0, "21.11", "3.38", "3.58"},
        {"AplicaIVA=1, AplicaImpAd=0", "Desc1=10, Desc2=5", 37.03, 37.03, "21.11", "3.38", "3.58"},
        {"AplicaIVA=0, AplicaImpAd=0", "Desc1=10, Desc2=5", 37.04, 37.04, "21.11", "3.38", "3.58"},
        // Without discounts the copy's net amount is its reduced amount.
        {"AplicaIVA=0, AplicaImpAd=0", "Desc1=0, Desc2=0", 37.03, 0, "24.69", "3.95", "0"},
    };
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA) VALUES (0)"));
    for (const auto& c : casos) {
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        base.ejecuta(QStringLiteral("UPDATE configura SET ") + QString::fromLatin1(c.reglas));
        AgregaNotas(base, {{1,
                            QDate(2026, 12, 1),
                            31.67,
                            5.07,
                            0,
                            QStringLiteral("A"),
                            1,
                            0,
                            {{3, 12.345, 16, 0, c.baseIeps, 0, c.baseIva, 5.92}}}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET ") + QString::fromLatin1(c.descuentos));
        const ResumenDePorcentaje r = trabajo.Comprueba(1, 1, QStringLiteral("A"), dec("33.33"));
        EXPECT_EQ(r.subtotalNuevo, imp(c.neto)) << c.reglas << " " << c.baseIva;
        EXPECT_EQ(r.ivaNuevo, imp(c.iva)) << c.reglas << " " << c.baseIva;
        EXPECT_EQ(Importe::DeVariant(copia(1, "Descuento")), imp(c.descuento)) << c.reglas;
        EXPECT_EQ(Importe::DeVariant(copia(1, "BaseIVA", "tmpremisionesdetalle")), imp(c.neto))
            << c.reglas << " " << c.baseIva;
        const CopiaEsperada esperada =
            ReduccionDeReferencia(base.conexion(), ReimpresionConPorcentaje::Factor(dec("33.33")));
        const CopiaEsperada copias = CopiasDelServidor(base.conexion());
        EXPECT_EQ(copias.encabezados, esperada.encabezados) << c.reglas << " " << c.baseIva;
        EXPECT_EQ(copias.lineas, esperada.lineas) << c.reglas << " " << c.baseIva;
    }
}

} // namespace
