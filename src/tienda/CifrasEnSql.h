#pragma once

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
// A line's net amount: its amount, lowered by its note's discounts (columns Desc1…Desc5 of the
// note's alias) unless its product (the line's column) is blocked for them. The product is
// looked up only for the lines of notes that have a discount.
QString Neto(const QString& importe, const QString& nota, const QString& producto);

} // namespace CifrasEnSql
