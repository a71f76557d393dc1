#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasConDescuento.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/factura/BusquedasDeFactura.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/factura/TextosDeFactura.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QDate kDia(2026, 11, 10);

Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

// The invoice job alone, on its own connections (the program folder is not set up).
class Factura : public TiendaConResguardo {
protected:
    Conexion principal;
    Conexion temporal;
    FacturaDeRemisiones trabajo{principal, temporal};

    void SetUp() override {
        ASSERT_TRUE(base.bases().AbrirBdD(principal));
        ASSERT_TRUE(trabajo.TomaLaBaseTemporal());
        trabajo.PreparaBaseTemporal();
        trabajo.PonReloj([] { return QTime(14, 15, 9); });
        base.ejecuta(QStringLiteral(
            "INSERT INTO clientes (Clave, Nombre, MetodoDePago, RFC, Calle, Ciudad) VALUES "
            "('C1', 'ANA SOFÍA', '03 - Transferencia', 'AS0101', 'Hidalgo 3', 'Colima')"));
        base.ejecuta(QStringLiteral("INSERT INTO generales (Localidad2) VALUES ('COLIMA, COL.')"));
        base.ejecuta(
            QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123')"));
    }

    void TearDown() override {
        trabajo.BorraBaseTemporal();
        trabajo.SueltaLaBaseTemporal();
    }

    static PartidaDePrueba linea(const char* producto, double cantidad, double precio,
                                 double iva = 16, double ieps = 0) {
        PartidaDePrueba p;
        p.producto = QString::fromLatin1(producto);
        p.cantidad = cantidad;
        p.precio = precio;
        p.iva = iva;
        p.ieps = ieps;
        return p;
    }

    TotalesDeFactura aplica(float porcentaje = 0, const QString& serie = {},
                            const QString& cliente = {}, const QString& nombre = {}) {
        return trabajo.AplicaPorcentaje(
            {kDia, kDia.addDays(2), serie, cliente, nombre, porcentaje});
    }

    DatosDeFactura datos(const TotalesDeFactura& t, qint32 folio = 124) {
        DatosDeFactura d;
        d.serie = QStringLiteral("B");
        d.cliente = QStringLiteral("C1");
        d.fecha = QDate(2026, 11, 30);
        d.folioPropuesto = folio;
        d.subtotal = t.subtotalDespues;
        d.iva = t.ivaDespues;
        d.ieps = t.iepsDespues;
        d.metodoDePago = QStringLiteral("03");
        return d;
    }

    QString valor(const QString& sentencia) { return base.valor(sentencia).toString(); }

    // Everything an invoice run could change, to compare before and after a failure.
    QString estado() {
        return valor(
            QStringLiteral(
                "SELECT CONCAT((SELECT COUNT(*) FROM facturas), '/', (SELECT COUNT(*) FROM "
                "facturasdetalle), '/', (SELECT Contenido FROM sistema WHERE Dato='FA-B'), '/', "
                "(SELECT IFNULL(SUM(Cancelada) + SUM(Facturada), 0) FROM remisiones), '/', (SELECT "
                "COUNT(*) "
                "FROM %1.remisiones))")
                .arg(resguardo));
    }

    // The text of the refusal of an invoice that must be refused.
    QString rechazo(const DatosDeFactura& d) {
        try {
            trabajo.GeneraFactura(d, resguardo);
            ADD_FAILURE() << "debió rechazarse";
        } catch (const Rechazo& r) {
            return r.texto();
        }
        return {};
    }

    // The message of an invoice that must fail.
    QString falla(const DatosDeFactura& d, const std::function<void(int, qint32)>& avance = {}) {
        try {
            trabajo.GeneraFactura(d, resguardo, avance);
            ADD_FAILURE() << "debió fallar";
        } catch (const ErrorOrvlib& e) {
            return e.descripcion();
        }
        return {};
    }
};

TEST_F(Factura, LaSeleccionSoloTomaLasRemisionesQueCorresponden) {
    AgregaNotas(base, {{1, kDia, 10, 0, 0, QStringLiteral("A")},
                       {2, kDia.addDays(2), 10, 0, 0, QStringLiteral("B")},
                       {3, kDia.addDays(3), 10},
                       {4, kDia.addDays(-1), 10},
                       {5, kDia, 10, 0, 0, QStringLiteral("A"), 0, 1},
                       {6, kDia, 10},
                       {7, kDia, 10},
                       {8, kDia, 10},
                       {9, kDia, 10, 0, 0, QStringLiteral("B")},
                       {10, kDia, 10, 0, 0, QStringLiteral("B")}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Afectada=0 WHERE Id=6"));
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Facturada=99 WHERE Id=7"));
    base.ejecuta(
        QStringLiteral("UPDATE remisiones SET Cliente='C9', Nombre='MARIANA O''BRIEN' WHERE Id=8"));
    // In a name fragment, a backslash, % and _ stand for themselves.
    base.conexion().consulta(QStringLiteral("UPDATE remisiones SET Nombre=? WHERE Id=?"),
                             {QStringLiteral("MI \\TIENDA_1 AL 50%"), 9});
    base.conexion().consulta(QStringLiteral("UPDATE remisiones SET Nombre=? WHERE Id=?"),
                             {QStringLiteral("MI XTIENDAS1 AL 500"), 10});
    const struct {
        const char* serie;
        const char* cliente;
        const char* nombre;
        const char* ids;
    } casos[] = {
        {"", "", "", "1,2,8,9,10"}, {" A ", "", "", "1,8"},   {"", "C9", "", "8"},
        {"", "", "ana", "8"},       {"", "", "O'BRIEN", "8"}, {"", "", "prueba", "1,2"},
        {"Z", "", "", ""},          {"", "", "_", "9"},       {"", "", "%", "9"},
        {"", "", "A_A", ""},        {"", "", "O'B", "8"},     {"", "", "\\TIENDA_", "9"},
        {"", "", "TIENDA_1", "9"},  {"", "", "AL 50%", "9"},  {"", "", "tiendas1", "10"},
    };
    for (const auto& c : casos) {
        const TotalesDeFactura t =
            aplica(0, QString::fromUtf8(c.serie), QString::fromUtf8(c.cliente),
                   QString::fromUtf8(c.nombre));
        EXPECT_EQ(
            valor(QStringLiteral(
                "SELECT IFNULL(GROUP_CONCAT(Id ORDER BY Id), '') FROM tmpreprocesarem.remisiones")),
            QString::fromLatin1(c.ids))
            << c.serie << "|" << c.cliente << "|" << c.nombre;
        EXPECT_EQ(t.remisiones,
                  QString::fromLatin1(c.ids).split(QLatin1Char(','), Qt::SkipEmptyParts).size());
    }
}

TEST_F(Factura, CantidadesRedondeadasYTotalesAntesYDespues) {
    AgregaNotas(base, {{1,
                        kDia,
                        500,
                        80,
                        0,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea("P1", 0.4, 10), linea("P2", 2.6, 10), linea("P3", 3, 10),
                         linea("P4", 2, 100)}}});
    const struct {
        float porcentaje;
        const char* cantidades;
    } casos[] = {{0, "1,3,3,2"}, {10, "1,2,3,2"}, {100, "1,1,1,1"}, {12.5F, "1,2,3,2"}};
    for (const auto& c : casos) {
        aplica(c.porcentaje);
        EXPECT_EQ(valor(QStringLiteral(
                      "SELECT GROUP_CONCAT(CAST(Cantidad AS SIGNED) ORDER BY Partida) FROM "
                      "tmpreprocesarem.remisionesdetalle")),
                  QString::fromLatin1(c.cantidades))
            << c.porcentaje;
    }
    const TotalesDeFactura t = aplica(0);
    EXPECT_EQ(t.subtotalAntes, imp("500"));
    EXPECT_EQ(t.ivaAntes, imp("80"));
    EXPECT_EQ(t.totalAntes(), imp("580"));
    EXPECT_EQ(t.subtotalDespues, imp("270"));
    EXPECT_EQ(t.ivaDespues, imp("43.2"));
    EXPECT_EQ(t.totalDespues(), imp("313.2"));
    EXPECT_EQ(valor(QStringLiteral(
                  "SELECT GROUP_CONCAT(Cantidad ORDER BY Partida) FROM remisionesdetalle")),
              QStringLiteral("0.4000,2.6000,3.0000,2.0000"));
    EXPECT_THROW(aplica(100.5F), Rechazo);
    EXPECT_THROW(aplica(-1), Rechazo);
    EXPECT_EQ(SeleccionDeFactura::TextoDePorcentaje(12.5F), QStringLiteral("12.5"));
    EXPECT_EQ(SeleccionDeFactura::TextoDePorcentaje(10.0F), QStringLiteral("10"));
    EXPECT_EQ(SeleccionDeFactura::TextoDePorcentaje(0.1F), QStringLiteral("0.1"));
}

TEST_F(Factura, LaFacturaConSuFolioPartidasYRemisionesCanceladas) {
    AgregaNotas(
        base,
        {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 2, 10), linea("P2", 1, 5)}},
         {2,
          kDia,
          100,
          16,
          0,
          QStringLiteral("A"),
          0,
          0,
          {linea("P1", 3, 12), linea("P3", 3, 3.3333, 0, 8)}}});
    base.ejecuta(
        QStringLiteral("UPDATE remisionesdetalle SET Descripcion=CONCAT('ART ', Producto)"));
    base.ejecuta(QStringLiteral(
        "INSERT INTO facturas (Serie, Factura) VALUES ('B', 124), ('B', 125), ('C', 126)"));
    const TotalesDeFactura t = aplica(0);
    const FacturaCreada f = trabajo.GeneraFactura(datos(t), resguardo);
    EXPECT_EQ(f.folio, 126);
    EXPECT_EQ(valor(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato='FA-B'")),
              QStringLiteral("126"));
    const QString encabezado =
        QStringLiteral("SELECT CONCAT_WS('|', Serie, Factura, Cliente, Fecha, Hora, Vence, Nombre, "
                       "Calle, Ciudad, RFC, "
                       "LugarExpedicion, Subtotal, IVA, ImpuestoAd, Descuento, Usuario, "
                       "MetodoDePago, ModoCreacion) FROM facturas "
                       "WHERE Id=%1");
    EXPECT_EQ(
        valor(encabezado.arg(f.id)),
        QStringLiteral(
            "B|126|C1|2026-11-30|14:15:09|2026-11-30|ANA SOFÍA|Hidalgo 3|Colima|AS0101|COLIMA, "
            "COL.|71.0000|9.7600|0.8000|0.0000||03|16"));
    QSqlQuery lineas = base.conexion().consulta(
        QStringLiteral("SELECT Partida, Producto, Descripcion, Cantidad, PrecioNeto, PrecioBruto, "
                       "IVA, ImpuestoAd, "
                       "NumeroDePrecio FROM facturasdetalle WHERE Id=%1 ORDER BY Partida")
            .arg(f.id));
    QStringList filas;
    while (lineas.next()) {
        QStringList celdas;
        for (int i = 0; i < 9; ++i) {
            celdas << lineas.value(i).toString();
        }
        filas << celdas.join(QLatin1Char('|'));
    }
    EXPECT_EQ(filas, (QStringList{"1|P1|ART P1|5.0000|11.2000|11.2000|16.0000|0.0000|1",
                                  "2|P2|ART P2|1.0000|5.0000|5.0000|16.0000|0.0000|1",
                                  "3|P3|ART P3|3.0000|3.3333|3.3333|0.0000|8.0000|1"}));
    EXPECT_EQ(
        valor(
            QStringLiteral(
                "SELECT GROUP_CONCAT(CONCAT_WS('|', Cancelada, Facturada = %1, MotivoCancelacion)) "
                "FROM remisiones")
                .arg(f.id)),
        QStringLiteral(
            "1|1|REMISION TOMADA EN LA FACTURA B126,1|1|REMISION TOMADA EN LA FACTURA B126"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM %1.remisionesdetalle").arg(resguardo)),
              QStringLiteral("4"));
    EXPECT_EQ(
        valor(
            QStringLiteral("SELECT COUNT(*) FROM %1.remisiones WHERE Cancelada=0").arg(resguardo)),
        QStringLiteral("2"));
    aplica(0);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM tmpreprocesarem.remisiones")),
              QStringLiteral("0"));
}

// The invoice carries the totals the window showed or nothing: an IEPS rate changed in the
// working copies after "Aplicar" (IVA untouched) makes "Generar factura" refuse and write nothing.
TEST_F(Factura, TotalesQueYaNoCorrespondenSeNieganAunSoloEnElIeps) {
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA, AplicaImpAd) VALUES (0, 0)"));
    AgregaNotas(base,
                {{1, kDia, 108, 16, 8, QStringLiteral("A"), 0, 0, {linea("P1", 1, 100, 16, 8)}}});
    const TotalesDeFactura t = aplica(0);
    base.ejecuta(
        QStringLiteral("UPDATE %1.remisionesdetalle SET ImpuestoAd=9").arg(trabajo.BaseTemporal()));
    try {
        trabajo.GeneraFactura(datos(t), resguardo);
        ADD_FAILURE() << "se generó con otros importes";
    } catch (const Rechazo& r) {
        EXPECT_TRUE(r.texto().startsWith(
            QStringLiteral("Los importes mostrados ya no corresponden a las remisiones aplicadas")))
            << qPrintable(r.texto());
    }
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("0"));
    EXPECT_EQ(valor(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato='FA-B'")),
              QStringLiteral("123"));
    EXPECT_EQ(valor(QStringLiteral("SELECT Cancelada FROM remisiones WHERE Id=1")),
              QStringLiteral("0"));
}

// An invoice over discounted notes is what its notes' reduced copies in the archive come to at
// their net prices (the discounts taken off each line before the lines are grouped), within a
// cent for each copied line; its header is the sum of its lines.
TEST_F(Factura, SobreNotasConDescuentoCobraLosPreciosNetos) {
    EscribeNotasConDescuento(base, kDia);
    const TotalesDeFactura t = aplica(15);
    const FacturaCreada f = trabajo.GeneraFactura(datos(t), resguardo);
    QSqlQuery copias = base.conexion().consulta(
        QStringLiteral("SELECT Id, Partida, Cantidad FROM %1.remisionesdetalle").arg(resguardo));
    qint64 notas = 0;
    int lineas = 0;
    while (copias.next()) {
        const NotaConDescuento& n = NotasConDescuento().at(copias.value(0).toInt() - 1);
        const LineaConDescuento& l = n.lineas.at(copias.value(1).toInt() - 1);
        const CifrasDeLinea c = CifrasDeLaLinea(n, l, copias.value(2).toDouble() / l.cantidad);
        notas += (c.neto + c.importeIva + c.importeImpAd).Diezmilesimos() / 100;
        ++lineas;
    }
    EXPECT_EQ(lineas, 23);
    const qint64 factura = base.valor(QStringLiteral("SELECT CAST((Subtotal+IVA+ImpuestoAd)*100 AS "
                                                     "SIGNED) FROM facturas WHERE Id=%1")
                                          .arg(f.id))
                               .toLongLong();
    EXPECT_LE(std::abs(factura - notas), lineas) << factura << " frente a " << notas;
    EXPECT_EQ(factura, (t.subtotalDespues + t.ivaDespues + t.iepsDespues).Diezmilesimos() / 100);
    // The discounts are in the prices: the invoice keeps no discount of its own.
    EXPECT_EQ(Importe::DeVariant(base.valor(
                  QStringLiteral("SELECT Descuento FROM facturas WHERE Id=%1").arg(f.id))),
              Importe());
}

// A product sold at 16 % in one note and at 8 % in another keeps both rates: the invoice's
// lines carry exactly the taxes its header states, IVA over price and IEPS as the store says.
TEST_F(Factura, UnaPartidaPorProductoYTasasYElEncabezadoSumaSusPartidas) {
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA, AplicaImpAd) VALUES (1, 0)"));
    AgregaNotas(base, {{1,
                        kDia,
                        0,
                        0,
                        0,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea("P1", 3, 12.345, 16), linea("P2", 0.333, 57.1, 16, 53)}},
                       {2,
                        kDia,
                        0,
                        0,
                        0,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea("P1", 2, 12.345, 8), linea("P1", 1, 12.345, 16)}}});
    const TotalesDeFactura t = aplica(0);
    // Quantities are whole after Aplicar: P2's 0.333 becomes 0 and then 1. P1 at 16 % is what
    // its two notes' lines come to in cents, 37.04 + 12.35, over 4 units.
    EXPECT_EQ(t.subtotalDespues, imp("131.18"));
    EXPECT_EQ(t.ivaDespues, imp("23.86"));
    EXPECT_EQ(t.iepsDespues, imp("30.26"));
    const FacturaCreada f = trabajo.GeneraFactura(datos(t), resguardo);
    QSqlQuery lineas = base.conexion().consulta(
        QStringLiteral(
            "SELECT Producto, Cantidad, PrecioNeto, IVA, ImpuestoAd FROM facturasdetalle "
            "WHERE Id=%1 ORDER BY Partida")
            .arg(f.id));
    Importe subtotal;
    Importe iva;
    Importe ieps;
    QStringList filas;
    while (lineas.next()) {
        const Importe importe = Importe::PorCantidad(Decimal::DeVariant(lineas.value(1)),
                                                     Importe::DeVariant(lineas.value(2)));
        const Importe impuestoAd = importe.PorTasa(Decimal::DeVariant(lineas.value(4)));
        subtotal += importe;
        ieps += impuestoAd;
        iva += (importe + impuestoAd).PorTasa(Decimal::DeVariant(lineas.value(3)));
        filas << QStringLiteral("%1 %2 × %3 IVA %4 IEPS %5")
                     .arg(lineas.value(0).toString(), lineas.value(1).toString(),
                          lineas.value(2).toString(), lineas.value(3).toString(),
                          lineas.value(4).toString());
    }
    EXPECT_EQ(filas, (QStringList{"P1 2.0000 × 12.3450 IVA 8.0000 IEPS 0.0000",
                                  "P1 4.0000 × 12.3475 IVA 16.0000 IEPS 0.0000",
                                  "P2 1.0000 × 57.1000 IVA 16.0000 IEPS 53.0000"}));
    EXPECT_EQ(valor(QStringLiteral("SELECT CONCAT_WS('|', Subtotal, IVA, ImpuestoAd) FROM "
                                   "facturas WHERE Id=%1")
                        .arg(f.id)),
              QStringLiteral("%1|%2|%3")
                  .arg(subtotal.ADouble(), 0, 'f', 4)
                  .arg(iva.ADouble(), 0, 'f', 4)
                  .arg(ieps.ADouble(), 0, 'f', 4));
    EXPECT_EQ(subtotal, t.subtotalDespues);
    EXPECT_EQ(iva, t.ivaDespues);
    EXPECT_EQ(ieps, t.iepsDespues);
}

// Figures the window no longer agrees with are never invoiced.
TEST_F(Factura, ImportesQueNoSonLosDeLasPartidasSeRechazan) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A")}});
    DatosDeFactura d = datos(aplica(0));
    const QString antes = estado();
    d.iva = d.iva + imp("0.01");
    EXPECT_TRUE(rechazo(d).contains(QStringLiteral("use \"Aplicar\" de nuevo")));
    EXPECT_EQ(estado(), antes);
}

TEST_F(Factura, ElResguardoGuardaLasCantidadesReducidasYElHostLasSuyas) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 10, 10)}}});
    const FacturaCreada f = trabajo.GeneraFactura(datos(aplica(40)), resguardo);
    EXPECT_EQ(f.folio, 124);
    EXPECT_EQ(valor(QStringLiteral("SELECT Cantidad FROM %1.remisionesdetalle").arg(resguardo)),
              QStringLiteral("6.0000"));
    EXPECT_EQ(valor(QStringLiteral("SELECT Cantidad FROM remisionesdetalle")),
              QStringLiteral("10.0000"));
    EXPECT_EQ(valor(QStringLiteral("SELECT Cantidad FROM facturasdetalle")),
              QStringLiteral("6.0000"));
}

TEST_F(Factura, SinTablasDeResguardoNoCambiaNada) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    const TotalesDeFactura t = aplica(0);
    base.ejecuta(QStringLiteral("DROP TABLE %1.remisionesdetalle").arg(resguardo));
    const QString antes = estado();
    const QString texto = rechazo(datos(t));
    EXPECT_TRUE(texto.contains(QStringLiteral("no tiene las tablas"))) << qPrintable(texto);
    EXPECT_EQ(estado(), antes);
}

TEST_F(Factura, UnaFallaAMitadDeshaceTodo) {
    if (BaseDePrueba::TablasMyIsamLatin1()) {
        GTEST_SKIP() << "Las tablas MyISAM no deshacen lo hecho dentro de una transacción "
                        "(ConTablasSinTransaccionesUnaFallaDiceLoQueQuedoEscrito prueba ese caso).";
    }
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}},
                       {2, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P2", 1, 10)}}});
    const TotalesDeFactura t = aplica(0);
    const QString antes = estado();
    // The archive copies of the details fail half-way: a note whose line is already archived.
    base.ejecuta(QStringLiteral("INSERT INTO %1.remisionesdetalle (Id, Partida) VALUES (2, 1)")
                     .arg(resguardo));
    EXPECT_THROW(trabajo.GeneraFactura(datos(t), resguardo), ErrorOrvlib);
    base.ejecuta(QStringLiteral("DELETE FROM %1.remisionesdetalle").arg(resguardo));
    EXPECT_EQ(estado(), antes);

    // The connection killed from another one between the header and the lines.
    QSqlQuery q = principal.consulta(QStringLiteral("SELECT CONNECTION_ID()"));
    q.next();
    const QString conexion = q.value(0).toString();
    EXPECT_TRUE(falla(datos(t), [&](int paso, qint32) {
                    if (paso == 2) {
                        base.ejecuta(QStringLiteral("KILL ") + conexion);
                    }
                }).startsWith(QStringLiteral("No se generó la factura y no se cambió nada.")));
    EXPECT_EQ(estado(), antes);
    ASSERT_TRUE(base.bases().AbrirBdD(principal));
    ASSERT_TRUE(trabajo.TomaLaBaseTemporal());
}

// Host tables made under a lax server mode may have NOT NULL columns without a default, which
// the invoice leaves out: they get their implicit default, also on a server whose global mode
// is strict.
TEST_F(Factura, UnaColumnaSinValorPorOmisionNoImpideLaFactura) {
    base.ejecuta(QStringLiteral("ALTER TABLE facturas ADD COLUMN Observaciones TEXT NOT NULL"));
    base.ejecuta(
        QStringLiteral("ALTER TABLE facturasdetalle ADD COLUMN Lote VARCHAR(20) NOT NULL"));
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 2, 10)}}});
    const FacturaCreada f = trabajo.GeneraFactura(datos(aplica(0)), resguardo);
    EXPECT_EQ(valor(QStringLiteral("SELECT CONCAT(Factura, '|', Observaciones) FROM facturas "
                                   "WHERE Id=%1")
                        .arg(f.id)),
              QStringLiteral("124|"));
    EXPECT_EQ(valor(QStringLiteral("SELECT CONCAT(Producto, '|', Lote) FROM facturasdetalle")),
              QStringLiteral("P1|"));
}

TEST_F(Factura, SeleccionVaciaYClienteDesconocidoSeRechazan) {
    const TotalesDeFactura vacio = aplica(0);
    const QString antes = estado();
    EXPECT_THROW(trabajo.GeneraFactura(datos(vacio), resguardo), Rechazo);
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    DatosDeFactura d = datos(aplica(0));
    d.cliente = QStringLiteral("NADIE");
    EXPECT_EQ(rechazo(d), QStringLiteral("El cliente 'NADIE' no existe."));
    EXPECT_EQ(estado(), antes);
}

TEST_F(Factura, UnaSolaBaseDeTrabajoPorServidor) {
    Conexion otra;
    Conexion otraTemporal;
    ASSERT_TRUE(base.bases().AbrirBdD(otra));
    FacturaDeRemisiones segunda(otra, otraTemporal);
    EXPECT_FALSE(segunda.TomaLaBaseTemporal());
    trabajo.SueltaLaBaseTemporal();
    EXPECT_TRUE(segunda.TomaLaBaseTemporal());
    segunda.SueltaLaBaseTemporal();
    EXPECT_TRUE(trabajo.TomaLaBaseTemporal());

    base.ejecuta(QStringLiteral("CREATE TABLE tmpreprocesarem.sobrante (x INT)"));
    base.ejecuta(QStringLiteral(
        "INSERT INTO tmpreprocesarem.remisiones (Id, Fecha) VALUES (77, '2026-01-01')"));
    trabajo.PreparaBaseTemporal();
    EXPECT_EQ(
        valor(QStringLiteral("SELECT GROUP_CONCAT(TABLE_NAME ORDER BY TABLE_NAME) FROM "
                             "information_schema.TABLES WHERE TABLE_SCHEMA='tmpreprocesarem'")),
        QStringLiteral("remisiones,remisionesdetalle"));
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        const QString t = QString::fromLatin1(tabla);
        EXPECT_EQ(base.estructura(QStringLiteral("tmpreprocesarem.") + t), base.estructura(t))
            << tabla;
    }
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM tmpreprocesarem.remisiones")),
              QStringLiteral("0"));
}

TEST(ClaveMetodoPago, CodigoDeDosCaracteres) {
    EXPECT_EQ(BusquedasDeFactura::ClaveMetodoPago(QStringLiteral("01 - Efectivo")),
              QStringLiteral("01"));
    EXPECT_EQ(BusquedasDeFactura::ClaveMetodoPago(QStringLiteral("03 - Tarjeta")),
              QStringLiteral("03"));
    EXPECT_EQ(BusquedasDeFactura::ClaveMetodoPago(QStringLiteral("Efectivo")),
              QStringLiteral("Efectivo"));
    EXPECT_EQ(BusquedasDeFactura::ClaveMetodoPago(QString()), QString());
}

// A product sold and returned in the period nets to nothing: its line would have no unit
// price, so the invoice is refused naming it, with nothing written.
TEST_F(Factura, LasDevolucionesQueDejanUnProductoSinCantidadSeRechazan) {
    AgregaNotas(
        base,
        {{1, kDia, 40, 0, 0, QStringLiteral("A"), 0, 0, {linea("P1", 2, 10), linea("P2", 1, 20)}},
         {2, kDia, -20, 0, 0, QStringLiteral("A"), 0, 0, {linea("P1", -2, 10)}},
         {3, kDia, -30, 0, 0, QStringLiteral("A"), 0, 0, {linea("P3", -3, 10)}}});
    const TotalesDeFactura t = aplica(0);
    const QString antes = estado();
    const QString texto = rechazo(datos(t));
    EXPECT_TRUE(texto.contains(QStringLiteral("'P1' (0), 'P3' (-3)"))) << qPrintable(texto);
    EXPECT_FALSE(texto.contains(QStringLiteral("'P2'")));
    EXPECT_EQ(estado(), antes);
    EXPECT_FALSE(trabajo.QuedoAlgoEscrito());
}

// Tables that take no transactions keep what was written before a failure: it is said, never
// "nothing changed".
TEST_F(Factura, ConTablasSinTransaccionesUnaFallaDiceLoQueQuedoEscrito) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    base.ejecuta(QStringLiteral("ALTER TABLE facturas ENGINE=MyISAM"));
    base.ejecuta(QStringLiteral("ALTER TABLE sistema ENGINE=MyISAM"));
    // On the strict server every host table is MyISAM already.
    const QStringList sinTransaccion =
        BaseDePrueba::TablasMyIsamLatin1()
            ? QStringList{base.nombre() + QStringLiteral(".facturas (MyISAM)"),
                          base.nombre() + QStringLiteral(".facturasdetalle (MyISAM)"),
                          base.nombre() + QStringLiteral(".remisiones (MyISAM)"),
                          base.nombre() + QStringLiteral(".sistema (MyISAM)"),
                          resguardo + QStringLiteral(".remisiones (MyISAM)"),
                          resguardo + QStringLiteral(".remisionesdetalle (MyISAM)")}
            : QStringList{base.nombre() + QStringLiteral(".facturas (MyISAM)"),
                          base.nombre() + QStringLiteral(".sistema (MyISAM)")};
    EXPECT_EQ(trabajo.AvisoSinTransaccion(resguardo),
              TextosDeFactura::AvisoSinTransaccion(sinTransaccion));
    base.ejecuta(QStringLiteral("CREATE TRIGGER falla_partida BEFORE INSERT ON facturasdetalle "
                                "FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='partida "
                                "rechazada por la prueba'"));
    const TotalesDeFactura t = aplica(0);
    const QString texto = falla(datos(t));
    EXPECT_FALSE(texto.contains(QStringLiteral("no se cambió nada"))) << qPrintable(texto);
    EXPECT_TRUE(texto.startsWith(QStringLiteral("No se terminó de generar la factura.")));
    EXPECT_TRUE(texto.contains(QStringLiteral("el contador FA-B de la tabla sistema quedó en "
                                              "124")))
        << qPrintable(texto);
    EXPECT_TRUE(texto.contains(QStringLiteral("el encabezado de la factura B124")));
    EXPECT_TRUE(texto.contains(QStringLiteral("partida rechazada por la prueba")));
    EXPECT_TRUE(trabajo.QuedoAlgoEscrito());
    EXPECT_EQ(valor(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato='FA-B'")),
              QStringLiteral("124"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT SUM(Cancelada) FROM remisiones")), QStringLiteral("0"));
}

TEST_F(Factura, SinSuCandadoLaVentanaNoAplicaNiGenera) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    const TotalesDeFactura t = aplica(0);
    trabajo.SueltaLaBaseTemporal();
    const QString antes = estado();
    EXPECT_THROW(aplica(0), Rechazo);
    EXPECT_THROW(trabajo.GeneraFactura(datos(t), resguardo), Rechazo);
    EXPECT_EQ(estado(), antes);
    ASSERT_TRUE(trabajo.TomaLaBaseTemporal());
}

TEST_F(Factura, FechasQueNoSirvenSeRechazanSinTocarNada) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    aplica(0);
    EXPECT_THROW(trabajo.AplicaPorcentaje({kDia.addDays(1), kDia, {}, {}, {}, 0}), Rechazo);
    EXPECT_THROW(trabajo.AplicaPorcentaje({QDate(), kDia, {}, {}, {}, 0}), Rechazo);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM tmpreprocesarem.remisiones")),
              QStringLiteral("1"));
}

// An invoice stopped half-way on tables without transactions leaves its traces; the next one on
// the same notes finds them, refuses with what it found, and writes nothing.
struct FacturaAMedias {
    const char* caso;
    int pasoQueFalla;     // 0: the archive copy of the lines fails
    const char* hallazgo; // in the refusal
};

class FacturaInterrumpida : public Factura, public ::testing::WithParamInterface<FacturaAMedias> {
protected:
    void SinTransacciones() {
        for (const char* tabla : {"facturas", "facturasdetalle", "remisiones", "sistema"}) {
            base.ejecuta(QStringLiteral("ALTER TABLE %1 ENGINE=MyISAM").arg(QLatin1String(tabla)));
        }
        for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
            base.ejecuta(QStringLiteral("ALTER TABLE %1.%2 ENGINE=MyISAM")
                             .arg(resguardo, QLatin1String(tabla)));
        }
    }

    // The first attempt, stopped as the case says.
    void Interrumpe(const TotalesDeFactura& t) {
        const int paso = GetParam().pasoQueFalla;
        if (paso == 0) {
            base.ejecuta(QStringLiteral("INSERT INTO %1.remisionesdetalle (Id, Partida) VALUES "
                                        "(2, 1)")
                             .arg(resguardo));
            falla(datos(t));
            base.ejecuta(
                QStringLiteral("DELETE FROM %1.remisionesdetalle WHERE Id=2").arg(resguardo));
            return;
        }
        falla(datos(t), [paso](int avance, qint32) {
            if (avance == paso) {
                throw ErrorOrvlib(2013, QStringLiteral("Lost connection"),
                                  QStringLiteral("prueba"));
            }
        });
    }
};

TEST_P(FacturaInterrumpida, ElReintentoLaEncuentraYNoEscribeOtra) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}},
                       {2, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P2", 1, 10)}}});
    SinTransacciones();
    Interrumpe(aplica(0));
    ASSERT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    const QString id = valor(QStringLiteral("SELECT Id FROM facturas"));

    const TotalesDeFactura t = aplica(0);
    const QString antes = estado();
    const QString partidas = valor(QStringLiteral("SELECT COUNT(*) FROM facturasdetalle"));
    const QString texto = rechazo(datos(t));
    EXPECT_TRUE(texto.contains(QString::fromUtf8(GetParam().hallazgo))) << qPrintable(texto);
    EXPECT_TRUE(texto.contains(QStringLiteral("No se generó otra factura"))) << qPrintable(texto);
    EXPECT_EQ(estado(), antes);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturasdetalle")), partidas);
    // The window finds the same as it opens.
    EXPECT_EQ(trabajo.RastrosDeOtraFactura(resguardo), texto);

    // Undone as the refusal says, the invoice is made once.
    base.ejecuta(QStringLiteral("DELETE FROM facturasdetalle WHERE Id=") + id);
    base.ejecuta(QStringLiteral("DELETE FROM facturas WHERE Id=") + id);
    base.ejecuta(QStringLiteral("DELETE FROM %1.remisionesdetalle").arg(resguardo));
    base.ejecuta(QStringLiteral("DELETE FROM %1.remisiones").arg(resguardo));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
    const FacturaCreada creada = trabajo.GeneraFactura(datos(aplica(0)), resguardo);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM remisiones WHERE Facturada=") +
                    QString::number(creada.id)),
              QStringLiteral("2"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FacturaInterrumpida,
    ::testing::Values(FacturaAMedias{"SoloElEncabezado", 2, "la factura B124 (Id "},
                      FacturaAMedias{"SinCancelarLasRemisiones", 3,
                                     "con 2 partidas, sin remisiones canceladas"},
                      FacturaAMedias{"AMitadDelResguardo", 0, "2 remisiones copiadas en "}),
    [](const auto& info) { return std::string(info.param.caso); });

// Where the archive takes transactions a stopped invoice leaves no copy there: the copy of a
// note that is open again in the host is an earlier invoice the store cancelled, and the note
// is invoiced again, its new copy replacing the old one under the archive's key (Id).
TEST_F(Factura, UnaRemisionReabiertaSeFacturaOtraVezYSuCopiaSeReemplaza) {
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        base.ejecuta(
            QStringLiteral("ALTER TABLE %1.%2 ENGINE=InnoDB").arg(resguardo, QLatin1String(tabla)));
    }
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 2, 10)}}});
    const FacturaCreada primera = trabajo.GeneraFactura(datos(aplica(0)), resguardo);
    base.ejecuta(QStringLiteral("UPDATE facturas SET Cancelada=1 WHERE Id=") +
                 QString::number(primera.id));
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Cancelada=0, Facturada=0 WHERE Id=1"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());

    const FacturaCreada segunda = trabajo.GeneraFactura(datos(aplica(50), 200), resguardo);
    EXPECT_NE(segunda.id, primera.id);
    EXPECT_EQ(valor(QStringLiteral("SELECT Facturada FROM remisiones WHERE Id=1")),
              QString::number(segunda.id));
    EXPECT_EQ(valor(QStringLiteral("SELECT CONCAT(COUNT(*), '/', SUM(Cantidad=1)) FROM "
                                   "%1.remisionesdetalle")
                        .arg(resguardo)),
              QStringLiteral("1/1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM %1.remisiones").arg(resguardo)),
              QStringLiteral("1"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
}

// A text longer than its host column is refused before anything is written, naming the field
// and the limit the server gives.
struct TextoLargo {
    const char* caso;
    const char* ajuste; // statements that make the long text, split by ;
    const char* serie;
    const char* esperado;
};

class TextoQueNoCabe : public Factura, public ::testing::WithParamInterface<TextoLargo> {};

TEST_P(TextoQueNoCabe, SeRechazaSinEscribirNada) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    for (const QString& sentencia :
         QString::fromLatin1(GetParam().ajuste).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        base.ejecuta(sentencia);
    }
    DatosDeFactura d = datos(aplica(0));
    d.serie = QString::fromLatin1(GetParam().serie);
    const QString antes = estado();
    const QString texto = rechazo(d);
    EXPECT_TRUE(texto.contains(QString::fromUtf8(GetParam().esperado))) << qPrintable(texto);
    EXPECT_EQ(estado(), antes);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoQueNoCabe,
    ::testing::Values(
        TextoLargo{"NombreDe255",
                   "ALTER TABLE clientes MODIFY Nombre VARCHAR(255) NOT NULL DEFAULT ''; UPDATE "
                   "clientes SET Nombre=REPEAT('N', 255) WHERE Clave='C1'",
                   "B", "255 caracteres) no cabe en facturas.Nombre, que admite 150"},
        TextoLargo{"SerieDeCuatro", "", "BBBB", "no cabe en facturas.Serie, que admite 3"}),
    [](const auto& info) { return std::string(info.param.caso); });

} // namespace
