#include "apoyo/NotasDePrueba.h"

#include "apoyo/BaseDePrueba.h"

void AgregaNotas(BaseDePrueba& base, const QVector<NotaDePrueba>& notas) {
    for (const NotaDePrueba& n : notas) {
        base.conexion().consulta(
            QStringLiteral("INSERT INTO remisiones (Id, Serie, Factura, Fecha, Subtotal, IVA, "
                           "ImpuestoAd, Cancelada, Cliente, Nombre) VALUES (?,?,?,?,?,?,?,?,?,?)"),
            {n.id, n.serie, n.folio > 0 ? n.folio : n.id, n.fecha, n.subtotal, n.iva, n.ieps,
             n.cancelada, QStringLiteral("C001"), QStringLiteral("CLIENTE DE PRUEBA")});
        QVector<PartidaDePrueba> partidas = n.partidas;
        if (partidas.isEmpty()) {
            // Its rates are those that give the header's taxes, so the note adds up.
            PartidaDePrueba p;
            p.precio = n.subtotal;
            if (n.subtotal != 0) {
                p.iva = n.iva * 100 / n.subtotal;
                p.ieps = n.ieps * 100 / n.subtotal;
            }
            partidas.append(p);
        }
        int numero = 0;
        for (const PartidaDePrueba& p : partidas) {
            base.conexion().consulta(
                QStringLiteral("INSERT INTO remisionesdetalle (Id, Partida, Producto, Cantidad, "
                               "PrecioNeto, PrecioBruto, IVA, ImpuestoAd, BaseImpuestoAd, "
                               "ImporteImpuestoAd, BaseIVA, ImporteIVA) VALUES "
                               "(?,?,?,?,?,?,?,?,?,?,?,?)"),
                {n.id, ++numero, p.producto, p.cantidad, p.precio, p.precio, p.iva, p.ieps,
                 p.baseIeps, p.importeIeps, p.baseIva, p.importeIva});
        }
    }
}

void CopiaATrabajo(BaseDePrueba& base, int id) {
    base.ejecuta(
        QStringLiteral("INSERT INTO tmpremisiones SELECT * FROM remisiones WHERE Id=%1").arg(id));
    base.ejecuta(QStringLiteral(
                     "INSERT INTO tmpremisionesdetalle SELECT * FROM remisionesdetalle WHERE Id=%1")
                     .arg(id));
}
