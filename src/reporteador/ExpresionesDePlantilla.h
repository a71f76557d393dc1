#pragma once

#include <QRegularExpression>
#include <QString>
#include <QVector>
#include <functional>

// The {…} of template texts: fields {Tabla.Campo}, formulas {@Formula}, the page numbers
// {Pagina} and {Paginas}, and arithmetic of fields, formulas and numbers {a.b*c.d+1}.
namespace ExpresionesDePlantilla {

// {Nombre} or {Tabla.Campo}: group 1 the name (with "@" for a formula), group 2 the field.
const QRegularExpression& Campo();
// A {…} holding an operator: group 1 what is inside the braces.
const QRegularExpression& Cuenta();
// One term of an arithmetic, to be matched anchored: group 1 the operator before it, then
// table and field (2, 3), a number (4) or a formula's name (5).
const QRegularExpression& Termino();

// The text with "#" inside its braces replaced by the row number; {#} becomes the number.
QString ConNumero(const QString& texto, int numero);

struct Referencia {
    enum class Tipo { Campo, Formula, Pagina, Desconocida };
    Tipo tipo = Tipo::Desconocida;
    QString tabla;
    QString nombre; // the field, the formula's name, or the {…} not understood
};

// The parts of the text divided by "|" that have data, each as resuelve puts in its {…} and
// with its blanks tidied, joined with the separator. A part whose {…} are all empty says no
// more than its own words and is left out; a part without {…} always stays.
QString UnePartes(const QString& texto, const QString& separador,
                  const std::function<QString(const QString&)>& resuelve);

// What the {…} of a text name, in order.
QVector<Referencia> Referencias(const QString& texto);

} // namespace ExpresionesDePlantilla
