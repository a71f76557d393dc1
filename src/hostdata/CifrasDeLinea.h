#pragma once

#include "hostdata/Importe.h"

// The money figures of one document line under the store's rule, in whole cents (halves away
// from zero): the amount is quantity × price; each tax is its base × rate; IVA's base takes the
// line's IEPS when configura.AplicaIVA compounds it, IEPS's base takes the IVA when AplicaImpAd
// does (never both). The printed breakdown, the cap job's repairs, the reduced copies and the
// invoice's lines all follow it, so a document adds up.
struct CifrasDeLinea {
    Importe importe;
    Importe baseImpAd, importeImpAd;
    Importe baseIva, importeIva;

    // What the compounding flags of configura mean for a line; both on counts as IVA only.
    struct Reglas {
        bool aplicaIva = false;
        bool aplicaImpAd = false;
    };

    // Every figure computed from quantity, price and rates.
    static CifrasDeLinea Calcula(Importe cantidad, Importe precio, Importe tasaIva,
                                 Importe tasaImpAd, Reglas reglas);
    // The line's stored figures with each one that is 0 computed from the others as
    // Calcula does: a base from the amount, a tax from its base when its rate is above 0.
    static CifrasDeLinea Completa(const CifrasDeLinea& guardadas, Importe cantidad, Importe precio,
                                  Importe tasaIva, Importe tasaImpAd, Reglas reglas);
};
