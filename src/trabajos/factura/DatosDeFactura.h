#pragma once

#include "tienda/Importe.h"

#include <QDate>
#include <QString>

// The eight totals of "Aplicar": the copied notes' stored totals, and the totals of the
// invoice's lines made from their reduced copies.
struct TotalesDeFactura {
    Importe subtotalAntes, ivaAntes, iepsAntes;
    Importe subtotalDespues, ivaDespues, iepsDespues;
    int remisiones = 0;
    int partidas = 0;

    Importe totalAntes() const { return subtotalAntes + ivaAntes + iepsAntes; }
    Importe totalDespues() const { return subtotalDespues + ivaDespues + iepsDespues; }
};

// What "Generar factura" takes from the clerk and from the totals shown.
struct DatosDeFactura {
    QString serie;
    QString cliente;
    QDate fecha;
    qint32 folioPropuesto = 0;
    Importe subtotal, iva, ieps; // as shown, in cents; the invoice refuses others
    QString metodoDePago;

    // Takes the reduced totals as they are shown: in cents.
    void PonTotales(const TotalesDeFactura& totales);
};

struct FacturaCreada {
    QString serie;
    qint32 folio = 0;
    qint64 id = 0;
};
