#include "trabajos/factura/PartidasDeFactura.h"

#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"
#include "tienda/CifrasEnSql.h"

#include <QSqlQuery>
#include <QStringList>

QVector<PartidaDeFactura> PartidasDeFactura::Lee(Conexion& cnn, const QString& baseTemporal,
                                                 CifrasDeLinea::Reglas reglas) {
    // Each working line's net amount, its note's discounts taken off (a blocked product takes
    // none), summed per product and pair of rates by the server.
    const QString importe =
        CifrasEnSql::Importe(QStringLiteral("d.Cantidad"), QStringLiteral("d.PrecioNeto"));
    const QString neto =
        CifrasEnSql::Neto(importe, QStringLiteral("t"), QStringLiteral("d.Producto"));
    QSqlQuery grupos = cnn.consulta(
        QStringLiteral(
            "SELECT d.Producto, MIN(d.Descripcion), SUM(d.Cantidad), d.IVA, "
            "d.ImpuestoAd, SUM(%2), MAX(CHAR_LENGTH(d.Descripcion)), "
            "MAX(CHAR_LENGTH(d.Producto)) FROM %1.remisionesdetalle d JOIN %1.remisiones t ON "
            "t.Id=d.Id GROUP BY d.Producto, d.IVA, d.ImpuestoAd ORDER BY d.Producto, "
            "d.IVA, d.ImpuestoAd")
            .arg(Sentencias::Nombre(baseTemporal), neto));
    QVector<PartidaDeFactura> partidas;
    while (grupos.next()) {
        PartidaDeFactura p;
        p.producto = grupos.value(0).toString();
        p.descripcion = grupos.value(1);
        p.cantidad = Decimal::DeVariant(grupos.value(2));
        p.tasaIva = Decimal::DeVariant(grupos.value(3));
        p.tasaImpAd = Decimal::DeVariant(grupos.value(4));
        p.largoDeDescripcion = grupos.value(6).toInt();
        p.largoDeProducto = grupos.value(7).toInt();
        // A quantity of 0 or less has no unit price; the invoice refuses such a line.
        if (p.cantidad > Decimal()) {
            p.precio =
                Importe::DeVariant(grupos.value(5)).Escala(10000, p.cantidad.Diezmilesimos());
            p.cifras = CifrasDeLinea::Calcula(p.cantidad, p.precio, p.tasaIva, p.tasaImpAd, reglas);
        }
        partidas.append(p);
    }
    return partidas;
}

PartidasDeFactura::Sumas PartidasDeFactura::Suma(const QVector<PartidaDeFactura>& partidas) {
    Sumas s;
    for (const PartidaDeFactura& p : partidas) {
        s.subtotal += p.cifras.importe;
        s.iva += p.cifras.importeIva;
        s.ieps += p.cifras.importeImpAd;
    }
    return s;
}
