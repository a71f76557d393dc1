#include "reporteador/ValoresDePlantilla.h"

#include <QRegularExpression>

std::optional<Qt::Alignment> ValoresDePlantilla::Alineacion(const QString& palabra) {
    const QString a = palabra.toLower();
    if (a == QLatin1String("izq")) {
        return Qt::AlignLeft;
    }
    if (a == QLatin1String("centro")) {
        return Qt::AlignHCenter;
    }
    if (a == QLatin1String("der")) {
        return Qt::AlignRight;
    }
    return std::nullopt;
}

std::optional<QColor> ValoresDePlantilla::Color(const QString& palabra) {
    static const QRegularExpression rgb(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!rgb.match(palabra).hasMatch()) {
        return std::nullopt;
    }
    return QColor(palabra);
}

bool ValoresDePlantilla::PatronDeNumero(const QString& patron) {
    static const QRegularExpression numero(QStringLiteral("^[#,]*0?[0,]*(\\.[0#]+)?$"));
    return !patron.isEmpty() && numero.match(patron).hasMatch() &&
           patron.contains(QRegularExpression(QStringLiteral("[#0]")));
}

bool ValoresDePlantilla::PatronDeFecha(const QString& patron) {
    static const QRegularExpression fecha(QStringLiteral("^[dMyhHms/\\-.: ]+$"));
    return fecha.match(patron).hasMatch() &&
           patron.contains(QRegularExpression(QStringLiteral("[dMyhHms]")));
}
