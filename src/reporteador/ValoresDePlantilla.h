#pragma once

#include <QColor>
#include <QString>
#include <Qt>
#include <optional>

// The values a template's directives take, each checked whole: a word cut short or misspelt
// ("alinea c", "color #33", "formato "#,0."") is refused instead of taken for a default.
class ValoresDePlantilla {
public:
    // izq, centro or der.
    static std::optional<Qt::Alignment> Alineacion(const QString& palabra);
    // #RRGGBB.
    static std::optional<QColor> Color(const QString& palabra);
    // A number pattern: "#" and "0" with "," in the whole part, then "." and "0" or "#".
    static bool PatronDeNumero(const QString& patron);
    // A date pattern: d, M, y, h, H, m, s and separators (/ - . : and blanks).
    static bool PatronDeFecha(const QString& patron);
};
