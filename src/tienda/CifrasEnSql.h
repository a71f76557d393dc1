#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QString>
#include <QStringList>

// The money rule of CifrasDeLinea written as SQL, for the statements in which the server works
// figures out: every operand read as an exact decimal of four places, as Importe reads it, and
// every rounding done on an exact decimal, halves away from zero, so the server and the paper
// agree on every half cent (ROUND on a double would round 408.225 down).
namespace CifrasEnSql {

// The value as an exact decimal of four places.
QString Decimal(const QString& expresion);
// The value rounded to the given decimals, computed exactly first.
QString Redondea(const QString& expresion, int decimales = 2);
// A line's amount: quantity × price in cents.
QString Importe(const QString& cantidad, const QString& precio);
// The tax of a base at a rate in per cent, in cents.
QString Impuesto(const QString& base, const QString& tasa);
// The amount lowered by each discount in per cent, in cascade, each step in cents.
QString ConDescuentos(const QString& monto, const QStringList& descuentos);
// The discounts Desc1…Desc5 of a note's alias, in order.
QStringList DescuentosDeLaNota(const QString& nota);
// Whether the note's discounts fall on a line of the product given (an expression): the note
// has one and the product is not blocked for them. The blocked products are read once per
// statement, not once per line.
QString LlevaDescuentos(const QString& nota, const QString& producto);
// A line's net amount: its amount, lowered by its note's discounts (columns Desc1…Desc5 of the
// note's alias) unless its product (the line's column) is blocked for them.
QString Neto(const QString& importe, const QString& nota, const QString& producto);
// The net amount of a line whose host may have stored it in a base (an expression): where
// the note's discounts fall on the line it is their cascade, so a base stored without them
// takes none away; elsewhere the stored base when it is not 0, else the amount.
QString NetoConBase(const QString& importe, const QString& nota, const QString& producto,
                    const QString& baseGuardada);
// price − price × factor to four decimals, the product's half rounded to the even digit, as
// CopiasReducidas::Reducido.
QString Reducido(const QString& precio, const QString& factor);

// A line's bases and taxes worked out from its net amount and its rates, each expression on
// its own (none names another column it sets): as CifrasDeLinea::DeNeto.
struct ImpuestosDeLinea {
    QString baseImpAd, importeImpAd, baseIva, importeIva;
};
ImpuestosDeLinea DeNeto(const QString& neto, const QString& tasaIva, const QString& tasaImpAd,
                        CifrasDeLinea::Reglas reglas);

} // namespace CifrasEnSql
