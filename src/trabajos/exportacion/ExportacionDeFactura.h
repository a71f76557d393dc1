#pragma once

#include "trabajos/exportacion/HojaDeCalculo.h"
#include "trabajos/factura/DatosDeFactura.h"

class Conexion;

// The invoice for the accountant, from the copies of the last "Aplicar": a sheet of its lines
// (product, quantity, price, amount, rates, taxes) whose totals are the window's after the
// reduction, and one of the notes it takes (series, folio, date, client, their figures before
// and after the reduction) whose totals are the window's before it. A note's reduced figures
// are its lines' under the money rule; the invoice's taxes are worked out on its grouped lines,
// so the notes' reduced sums may differ from the invoice by rounding: both rows are given.
class ExportacionDeFactura {
public:
    // principal works on the host's database; folio names the invoice when it was made.
    static LibroDeCalculo Libro(Conexion& principal, const TotalesDeFactura& totales,
                                const QString& folio = {});
    // "factura-B126.xlsx", or by the time of the export before the invoice is made.
    static QString NombrePropuesto(const QString& folio = {});
};
