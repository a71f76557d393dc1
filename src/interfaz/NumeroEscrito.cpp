#include "interfaz/NumeroEscrito.h"

#include <QRegularExpression>
#include <cmath>

std::optional<double> NumeroEscrito::Lee(const QString& texto) {
    if (texto.trimmed().isEmpty()) {
        return 0.0;
    }
    // Anything but figures, points, commas and signs before the number; its sign; the number
    // with its thousands in threes or without grouping; after it, nothing with a figure, a
    // point or a comma.
    static const QRegularExpression numero(QStringLiteral(
        R"(^[^0-9.,\-]*?(-?)[\s$]*(\d{1,3}(?:,\d{3})+(?:\.\d*)?|\d+(?:\.\d*)?|\.\d+)[^0-9.,\-]*$)"));
    const QRegularExpressionMatch m = numero.match(texto);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const double valor = m.captured(2).remove(QLatin1Char(',')).toDouble(&ok);
    if (!ok || !std::isfinite(valor)) {
        return std::nullopt;
    }
    return m.captured(1).isEmpty() ? valor : -valor;
}

bool NumeroEscrito::EsEntero(double valor) {
    return std::floor(valor) == valor;
}
