#pragma once

#include "tienda/CifrasDeLinea.h"

class ActualizacionPorLotes;
class Conexion;
class QSqlQuery;

// The reduction of the percentage job's working copies, note by note: each line's prices
// lowered by the factor to four decimals, its amount worked out from them, its net amount the
// original's lowered by the factor (the note's discounts kept), its bases and taxes worked out
// from that net amount; each copy's header the sums of its lines. So a reduced note keeps
// (1 − F) of the original to the cent of each line, and its printed figures add up.
class CopiasReducidas {
public:
    CopiasReducidas(Conexion& cnn, Decimal factor, CifrasDeLinea::Reglas reglas);

    // Reduces every line of tmpremisionesdetalle and every header of tmpremisiones that has
    // lines; a header without lines is lowered whole.
    void Reduce();

    // One line's reduced figures. original are the line's figures before the reduction; the
    // line takes its note's discounts when conDescuentos.
    static CifrasDeLinea Linea(const CifrasDeLinea& original, Decimal cantidad,
                               Importe precioReducido, Decimal tasaIva, Decimal tasaImpAd,
                               bool conDescuentos, Decimal factor, CifrasDeLinea::Reglas reglas);
    // price − price × factor, to four decimals.
    static Importe Reducido(Importe valor, Decimal factor);

private:
    void reduceLineas();
    // One line as reduceLineas read it: its reduced price and figures queued in lineas;
    // conDescuentos tells whether its note's discounts fell on it.
    CifrasDeLinea reduceLinea(const QSqlQuery& q, ActualizacionPorLotes& lineas,
                              bool& conDescuentos) const;
    void reduceEncabezadosSinLineas();

    Conexion& cnn_;
    Decimal factor_;
    CifrasDeLinea::Reglas reglas_;
};
