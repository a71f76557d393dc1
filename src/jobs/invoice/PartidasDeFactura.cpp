#include "jobs/invoice/PartidasDeFactura.h"

#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>

QVector<PartidaDeFactura> PartidasDeFactura::Lee(Conexion& cnn, const QString& baseTemporal,
                                                 CifrasDeLinea::Reglas reglas) {
    QSqlQuery grupos = cnn.consulta(
        QStringLiteral("SELECT Producto, MIN(Descripcion), SUM(Cantidad), IVA, ImpuestoAd, "
                       "SUM(Cantidad * PrecioNeto) FROM %1.remisionesdetalle GROUP BY Producto, "
                       "IVA, ImpuestoAd ORDER BY Producto, IVA, ImpuestoAd")
            .arg(Sentencias::Nombre(baseTemporal)));
    QVector<PartidaDeFactura> partidas;
    while (grupos.next()) {
        PartidaDeFactura p;
        p.producto = grupos.value(0).toString();
        p.descripcion = grupos.value(1);
        p.cantidad = Importe::DeVariant(grupos.value(2));
        p.tasaIva = Importe::DeVariant(grupos.value(3));
        p.tasaImpAd = Importe::DeVariant(grupos.value(4));
        // A quantity of 0 or less has no unit price; the invoice refuses such a line.
        if (p.cantidad > Importe()) {
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
