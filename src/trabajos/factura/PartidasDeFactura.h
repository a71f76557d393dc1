#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QString>
#include <QVariant>
#include <QVector>

class Conexion;

// One line of the invoice: a product at one pair of rates, its summed quantity and average
// unit price, and its figures in cents.
struct PartidaDeFactura {
    QString producto;
    QVariant descripcion;
    Decimal cantidad, tasaIva, tasaImpAd;
    Importe precio;
    CifrasDeLinea cifras;
    // The most characters among its copied lines' descriptions and product keys, so the
    // invoice's columns are checked without reading the lines again.
    int largoDeDescripcion = 0;
    int largoDeProducto = 0;
};

// The invoice's lines made from the reduced copies of the working database: one per product
// and pair of IVA and IEPS rates, so a product sold at two rates keeps each rate's tax, at net
// prices: each copied line's amount lowered by its note's discounts before the lines are
// grouped. The invoice's header and the window's "after" totals are the sums of these lines.
class PartidasDeFactura {
public:
    static QVector<PartidaDeFactura> Lee(Conexion& cnn, const QString& baseTemporal,
                                         CifrasDeLinea::Reglas reglas);

    struct Sumas {
        Importe subtotal, iva, ieps;
    };
    static Sumas Suma(const QVector<PartidaDeFactura>& partidas);
};
