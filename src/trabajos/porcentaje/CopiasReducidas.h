#pragma once

#include "tienda/CifrasDeLinea.h"

class Conexion;

// The percentage job's reduced copies: each line's prices lowered by the factor to four
// decimals, its amount worked out from them, its net amount the original's lowered by the
// factor when its note's discounts fall on it (so the discount is kept), its bases and taxes
// worked out from that net amount; each copy's header the sums of its lines. So a reduced note
// keeps (1 − F) of the original to the cent of each line, and its printed figures add up.
// The server does it in two statements over the whole range, built from CifrasEnSql; Linea is
// the same rule for one line, the reference the tests hold the server to.
class CopiasReducidas {
public:
    CopiasReducidas(Conexion& cnn, Decimal factor, CifrasDeLinea::Reglas reglas);

    // Copies into tmpremisionesdetalle the host's lines of every note of tmpremisiones,
    // reduced, and reduces the headers: a header to the sums of its lines, a header without
    // lines whole.
    void CopiaYReduce();

    // One line's reduced figures from its amount before the reduction and the note's discounts
    // that fall on it (none for a product blocked for them). A stored base is not read: where
    // discounts fall the net amount is their cascade, so a base stored without them (by an old
    // repair or by the store) takes none away.
    static CifrasDeLinea Linea(Importe importeOriginal, Decimal cantidad, Importe precioReducido,
                               Decimal tasaIva, Decimal tasaImpAd,
                               const CifrasDeLinea::Descuentos& descuentos, Decimal factor,
                               CifrasDeLinea::Reglas reglas);
    // price − price × factor, to four decimals.
    static Importe Reducido(Importe valor, Decimal factor);

private:
    void copiaLineas();
    void reduceEncabezados();

    Conexion& cnn_;
    Decimal factor_;
    CifrasDeLinea::Reglas reglas_;
};
