#include "trabajos/FacturaDePrueba.h"

namespace {

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

// Figures the window no longer agrees with are never invoiced.
TEST_F(Factura, ImportesQueNoSonLosDeLasPartidasSeRechazan) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A")}});
    DatosDeFactura d = datos(aplica(0));
    const QString antes = estado();
    d.iva = d.iva + imp("0.01");
    EXPECT_TRUE(rechazo(d).contains(QStringLiteral("use \"Aplicar\" de nuevo")));
    EXPECT_EQ(estado(), antes);
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

} // namespace
