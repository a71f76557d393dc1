#include "tienda/CifrasDeLinea.h"

#include <algorithm>

namespace {

const Importe kCero;
constexpr qint64 kCienPorCiento = 1000000; // 100 in ten-thousandths

Importe siFalta(Importe guardado, Importe calculado) {
    return guardado == kCero ? calculado : guardado;
}

Importe impuesto(Importe guardado, Importe base, Decimal tasa) {
    return tasa > Decimal() ? siFalta(guardado, base.PorTasa(tasa)) : guardado;
}

// Bases and taxes from the net amount, each stored figure kept, the tax that goes into the
// other's base worked out first.
CifrasDeLinea completaImpuestos(CifrasDeLinea c, Decimal tasaIva, Decimal tasaImpAd,
                                CifrasDeLinea::Reglas reglas) {
    if (reglas.aplicaImpAd && !reglas.aplicaIva) {
        c.baseIva = siFalta(c.baseIva, c.neto);
        c.importeIva = impuesto(c.importeIva, c.baseIva, tasaIva);
        c.baseImpAd = siFalta(c.baseImpAd, c.neto + c.importeIva);
        c.importeImpAd = impuesto(c.importeImpAd, c.baseImpAd, tasaImpAd);
    } else {
        c.baseImpAd = siFalta(c.baseImpAd, c.neto);
        c.importeImpAd = impuesto(c.importeImpAd, c.baseImpAd, tasaImpAd);
        c.baseIva = siFalta(c.baseIva, reglas.aplicaIva ? c.neto + c.importeImpAd : c.neto);
        c.importeIva = impuesto(c.importeIva, c.baseIva, tasaIva);
    }
    return c;
}

// The stored base that is the net amount itself: the one no other tax was added to.
Importe netoGuardado(const CifrasDeLinea& g, CifrasDeLinea::Reglas reglas) {
    const bool ivaSobreImpAd = reglas.aplicaIva;
    const bool impAdSobreIva = reglas.aplicaImpAd && !reglas.aplicaIva;
    if (!impAdSobreIva && g.baseImpAd != kCero) {
        return g.baseImpAd;
    }
    return ivaSobreImpAd ? kCero : g.baseIva;
}

// Whether a stored net amount is the line's discounts' cascade, within the cent a copy that
// stored its own rounding may differ by.
bool concuerda(Importe guardado, Importe cascada) {
    static const Importe unCentavo = Importe::DeDouble(0.01);
    const Importe diferencia = guardado > cascada ? guardado - cascada : cascada - guardado;
    return diferencia <= unCentavo;
}

} // namespace

bool CifrasDeLinea::Descuentos::Hay() const {
    return std::any_of(tasas.begin(), tasas.end(), [](Decimal t) { return t != Decimal(); });
}

Importe CifrasDeLinea::Descuentos::Aplica(Importe monto) const {
    for (const Decimal& t : tasas) {
        if (t != Decimal()) {
            monto = monto.EnCentavos(kCienPorCiento - t.Diezmilesimos(), kCienPorCiento);
        }
    }
    return monto;
}

CifrasDeLinea CifrasDeLinea::Calcula(Decimal cantidad, Importe precio, Decimal tasaIva,
                                     Decimal tasaImpAd, Reglas reglas,
                                     const Descuentos& descuentos) {
    return Completa({}, cantidad, precio, tasaIva, tasaImpAd, reglas, descuentos);
}

CifrasDeLinea CifrasDeLinea::Completa(const CifrasDeLinea& guardadas, Decimal cantidad,
                                      Importe precio, Decimal tasaIva, Decimal tasaImpAd,
                                      Reglas reglas, const Descuentos& descuentos) {
    CifrasDeLinea c = guardadas;
    c.importe = Importe::PorCantidad(cantidad, precio);
    const Importe cascada = descuentos.Aplica(c.importe);
    c.neto = siFalta(netoGuardado(guardadas, reglas), cascada);
    // A stored base that leaves the line's discounts out is not its net amount: the discounts
    // are never lost, and the bases and taxes made from that base are worked out again.
    if (descuentos.Hay() && !concuerda(c.neto, cascada)) {
        c.neto = cascada;
        c.baseIva = c.baseImpAd = c.importeIva = c.importeImpAd = kCero;
    }
    return completaImpuestos(c, tasaIva, tasaImpAd, reglas);
}

CifrasDeLinea CifrasDeLinea::DeNeto(Importe importe, Importe neto, Decimal tasaIva,
                                    Decimal tasaImpAd, Reglas reglas) {
    CifrasDeLinea c;
    c.importe = importe;
    c.neto = neto;
    return completaImpuestos(c, tasaIva, tasaImpAd, reglas);
}
