#pragma once

#include <QString>
#include <optional>

// A number as a clerk types or pastes it into a number field: "1,234.50", "$ 1,234.50", even
// "ABC $1,234.50 peso" (words and a currency sign around one number). Commas only group
// thousands in threes and the point is the decimal mark, so "0,5" is refused, never read as 5.
class NumeroEscrito {
public:
    // The number the text holds; nothing when it holds none, more than one, or a comma that
    // does not group thousands. An empty text (or one of blanks) is 0.
    static std::optional<double> Lee(const QString& texto);
    // The number the text holds as a field takes it: its sign and figures, the point, no
    // grouping ("$1,234.50 pesos" gives "1234.50", "12.5 %" gives "12.5"); nothing when Lee
    // reads none.
    static std::optional<QString> Cifras(const QString& texto);
    // Whether the text holds a whole number.
    static bool EsEntero(double valor);

    // Why the text is not a percentage the reprint takes, above 0 and under 100, in words that
    // give the rule and the fix; "" when it is one. The field takes 0 (nothing typed yet): the
    // job's button refuses it.
    static QString AvisoDePorcentajeMenos(const QString& texto);
    // Why the text is not a percentage the invoice takes, 0 or more and under 100; "" when it
    // is one.
    static QString AvisoDePorcentajeAReducir(const QString& texto);
    // Why the text is not a whole number of 0 to maximo (0: nothing typed yet): the reading's
    // fault, or the field's rule (regla); "" when it is one.
    static QString AvisoDeEntero(const QString& texto, double maximo, const QString& regla);
    // Why the text holds no number a field can take, with the fix ("use punto decimal").
    static QString AvisoDeNumero(const QString& texto);
};
