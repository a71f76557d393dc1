#include "hostdata/CifrasDeLinea.h"

namespace {

Importe siFalta(Importe guardado, Importe calculado) {
    return guardado == Importe() ? calculado : guardado;
}

Importe impuesto(Importe guardado, Importe base, Importe tasa) {
    return tasa > Importe() ? siFalta(guardado, base.PorTasa(tasa)) : guardado;
}

} // namespace

CifrasDeLinea CifrasDeLinea::Calcula(Importe cantidad, Importe precio, Importe tasaIva,
                                     Importe tasaImpAd, Reglas reglas) {
    return Completa({}, cantidad, precio, tasaIva, tasaImpAd, reglas);
}

CifrasDeLinea CifrasDeLinea::Completa(const CifrasDeLinea& guardadas, Importe cantidad,
                                      Importe precio, Importe tasaIva, Importe tasaImpAd,
                                      Reglas reglas) {
    const bool ivaSobreImpAd = reglas.aplicaIva;
    const bool impAdSobreIva = reglas.aplicaImpAd && !reglas.aplicaIva;
    CifrasDeLinea c = guardadas;
    c.importe = Importe::PorCantidad(cantidad, precio);
    // The tax that goes into the other's base is worked out first.
    if (impAdSobreIva) {
        c.baseIva = siFalta(c.baseIva, c.importe);
        c.importeIva = impuesto(c.importeIva, c.baseIva, tasaIva);
        c.baseImpAd = siFalta(c.baseImpAd, c.importe + c.importeIva);
        c.importeImpAd = impuesto(c.importeImpAd, c.baseImpAd, tasaImpAd);
    } else {
        c.baseImpAd = siFalta(c.baseImpAd, c.importe);
        c.importeImpAd = impuesto(c.importeImpAd, c.baseImpAd, tasaImpAd);
        c.baseIva = siFalta(c.baseIva, ivaSobreImpAd ? c.importe + c.importeImpAd : c.importe);
        c.importeIva = impuesto(c.importeIva, c.baseIva, tasaIva);
    }
    return c;
}
