#include "interfaz/NumeroEscrito.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// Anything but figures, points, commas and signs before the number; its sign; the number with
// its thousands in threes or without grouping; after it, nothing with a figure, a point or a
// comma.
QRegularExpressionMatch numeroEn(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral(
        R"(^[^0-9.,\-]*?(-?)[\s$]*(\d{1,3}(?:,\d{3})+(?:\.\d*)?|\d+(?:\.\d*)?|\.\d+)[^0-9.,\-]*$)"));
    return numero.match(texto);
}

} // namespace

std::optional<double> NumeroEscrito::Lee(const QString& texto) {
    if (texto.trimmed().isEmpty()) {
        return 0.0;
    }
    const std::optional<QString> cifras = Cifras(texto);
    if (!cifras) {
        return std::nullopt;
    }
    bool ok = false;
    const double valor = cifras->toDouble(&ok);
    if (!ok || !std::isfinite(valor)) {
        return std::nullopt;
    }
    return valor;
}

std::optional<QString> NumeroEscrito::Cifras(const QString& texto) {
    const QRegularExpressionMatch m = numeroEn(texto);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return m.captured(1) + m.captured(2).remove(QLatin1Char(','));
}

bool NumeroEscrito::EsEntero(double valor) {
    return std::floor(valor) == valor;
}

QString NumeroEscrito::AvisoDeNumero(const QString& texto) {
    // A decimal comma (0,5; 12,75) is the usual slip: the point it needs is shown.
    static const QRegularExpression conComa(QStringLiteral(R"(^\s*(-?\d*),(\d{1,2}|\d{4,})\s*$)"));
    const QRegularExpressionMatch coma = conComa.match(texto);
    if (coma.hasMatch()) {
        return QStringLiteral("«%1» no es un número: use punto decimal (%2.%3).")
            .arg(texto.trimmed(),
                 coma.captured(1).isEmpty() ? QStringLiteral("0") : coma.captured(1),
                 coma.captured(2));
    }
    return QStringLiteral("«%1» no es un número: escriba sólo cifras, con punto decimal (12.5).")
        .arg(texto.trimmed());
}

QString NumeroEscrito::AvisoDeEntero(const QString& texto, double maximo, const QString& regla) {
    const std::optional<double> valor = Lee(texto);
    if (!valor) {
        return AvisoDeNumero(texto);
    }
    return *valor < 0 || *valor > maximo || !EsEntero(*valor) ? regla : QString();
}

QString NumeroEscrito::AvisoDePorcentajeMenos(const QString& texto) {
    const std::optional<double> valor = Lee(texto);
    if (!valor) {
        return AvisoDeNumero(texto);
    }
    if (*valor >= 100) {
        return QStringLiteral("El porcentaje debe ser menor que 100.");
    }
    return *valor < 0 ? QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100.")
                      : QString();
}

QString NumeroEscrito::AvisoDePorcentajeAReducir(const QString& texto) {
    const std::optional<double> valor = Lee(texto);
    if (!valor) {
        return AvisoDeNumero(texto);
    }
    if (*valor >= 100) {
        return QStringLiteral("El porcentaje debe ser menor que 100.");
    }
    return *valor < 0 ? QStringLiteral("El porcentaje no puede ser negativo: escriba uno de 0 a "
                                       "menos de 100.")
                      : QString();
}
