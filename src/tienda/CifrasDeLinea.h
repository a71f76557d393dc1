#pragma once

#include "tienda/Importe.h"

#include <array>

// The money figures of one document line under the store's rule, in whole cents (halves away
// from zero): the amount is quantity × price; the net amount is the amount lowered by the
// note's header discounts; each tax is its base × rate, the bases starting from the net
// amount; IVA's base takes the line's IEPS when configura.AplicaIVA compounds it, IEPS's base
// takes the IVA when AplicaImpAd does (never both). The printed breakdown, the cap job's
// repairs, the reduced copies and the invoice's lines all follow it, so a document adds up.
struct CifrasDeLinea {
    Importe importe;
    Importe neto;
    Importe baseImpAd, importeImpAd;
    Importe baseIva, importeIva;

    // What the compounding flags of configura mean for a line; both on counts as IVA only.
    struct Reglas {
        bool aplicaIva = false;
        bool aplicaImpAd = false;
    };

    // The header's discounts Desc1…Desc5 as they fall on a line, in cascade: each one lowers
    // what the ones before left, in cents. A product blocked for discounts gets none.
    struct Descuentos {
        std::array<Decimal, 5> tasas;

        bool Hay() const;
        Importe Aplica(Importe monto) const;
    };

    // Every figure computed from quantity, price, rates and the note's discounts.
    static CifrasDeLinea Calcula(Decimal cantidad, Importe precio, Decimal tasaIva,
                                 Decimal tasaImpAd, Reglas reglas,
                                 const Descuentos& descuentos = {});
    // The line's stored figures with each one that is 0 computed as Calcula does. The net
    // amount is the stored base that no other tax enters, when the host stored one.
    static CifrasDeLinea Completa(const CifrasDeLinea& guardadas, Decimal cantidad, Importe precio,
                                  Decimal tasaIva, Decimal tasaImpAd, Reglas reglas,
                                  const Descuentos& descuentos = {});
    // The figures of a line whose net amount is given (a reduced copy's): bases and taxes
    // worked out from it.
    static CifrasDeLinea DeNeto(Importe importe, Importe neto, Decimal tasaIva, Decimal tasaImpAd,
                                Reglas reglas);
};
