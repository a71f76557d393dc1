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
    // Whether the text holds a whole number.
    static bool EsEntero(double valor);

    // The percentages the jobs take: 0 or more and under 100.
    static bool EsPorcentaje(const std::optional<double>& valor) {
        return valor && *valor >= 0 && *valor < 100;
    }
    static QString AvisoDePorcentaje() {
        return QStringLiteral("Porcentaje entre 0 y 100; use punto decimal");
    }
};
