#include "trabajos/FacturaDePrueba.h"

namespace {

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
    } casos[] = {{0, "1,3,3,2"}, {10, "1,2,3,2"}, {99, "1,1,1,1"}, {12.5F, "1,2,3,2"}};
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
    // What the rounded quantities come to, said when it is not what was asked.
    const struct {
        const char* antes;
        const char* despues;
        double porcentaje;
        const char* dice;
    } reducciones[] = {
        {"458694.23", "428010.23", 10,
         "reducción efectiva 6.7 %: las cantidades se redondean a enteros"},
        {"580", "313.2", 0, "reducción efectiva 46.0 %: las cantidades se redondean a enteros"},
        {"200", "180", 10, ""},
        {"200", "200", 0, ""},
        {"0", "0", 10, ""},
    };
    for (const auto& r : reducciones) {
        TotalesDeFactura totales;
        totales.subtotalAntes = imp(r.antes);
        totales.subtotalDespues = imp(r.despues);
        EXPECT_EQ(TextosDeFactura::ReduccionEfectiva(totales, r.porcentaje),
                  QString::fromUtf8(r.dice))
            << r.antes;
    }
    EXPECT_EQ(valor(QStringLiteral(
                  "SELECT GROUP_CONCAT(Cantidad ORDER BY Partida) FROM remisionesdetalle")),
              QStringLiteral("0.4000,2.6000,3.0000,2.0000"));
    // 100 % would leave every quantity at 1: refused, as the window refuses it.
    EXPECT_THROW(aplica(100), Rechazo);
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
                        {linea("P1", 2, 12.345, 8), linea("P1", 1, 12.345, 16)}},
                       {3, kDia, 0, 0, 0, QStringLiteral("A"), 0, 0, {linea("P3", 1, 100.05)}}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Desc1=10, Desc2=10 WHERE Id=3"));
    const TotalesDeFactura t = aplica(0);
    // Quantities are whole after Aplicar: P2's 0.333 becomes 0 and then 1. P1 at 16 % is what
    // its two notes' lines come to in cents, 37.04 + 12.35, over 4 units. P3's discounts fall
    // in cascade, each step in cents: 100.05 to 90.05 to 81.05 (81.04 unrounded).
    EXPECT_EQ(t.subtotalDespues, imp("212.23"));
    EXPECT_EQ(t.ivaDespues, imp("36.83"));
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
                                  "P2 1.0000 × 57.1000 IVA 16.0000 IEPS 53.0000",
                                  "P3 1.0000 × 81.0500 IVA 16.0000 IEPS 0.0000"}));
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

    // A failure that is not the library's (an amount out of range) after the header: nothing
    // stays written, not even for the invoice's own connection, and another workstation takes
    // the series counter's row at once.
    EXPECT_THROW(trabajo.GeneraFactura(datos(t), resguardo,
                                       [](int paso, qint32) {
                                           if (paso == 2) {
                                               throw ErrorDeImporte(QStringLiteral("fuera"));
                                           }
                                       }),
                 ErrorDeImporte);
    EXPECT_EQ(principal.valor(QStringLiteral("SELECT COUNT(*) FROM facturas")).toInt(), 0);
    base.ejecuta(QStringLiteral("SET SESSION innodb_lock_wait_timeout=1"));
    EXPECT_NO_THROW(
        base.valor(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato='FA-B' FOR UPDATE")));
    base.ejecuta(QStringLiteral("SET SESSION innodb_lock_wait_timeout=DEFAULT"));
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

} // namespace
