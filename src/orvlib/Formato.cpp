#include "orvlib/Formato.h"

#include <array>
#include <cmath>

QString Formato::Numero(double valor, const QString& patron) {
    const qsizetype punto = patron.indexOf(QLatin1Char('.'));
    const int decimales = punto < 0 ? 0 : static_cast<int>(patron.size() - punto - 1);
    const int obligatorios =
        punto < 0 ? 0 : static_cast<int>(patron.mid(punto + 1).count(QLatin1Char('0')));
    const bool agrupa = patron.left(punto < 0 ? patron.size() : punto).contains(QLatin1Char(','));
    const double redondeado =
        static_cast<double>(Redondea(valor, decimales)) / std::pow(10.0, decimales);
    QString texto = QString::number(std::fabs(redondeado), 'f', decimales);
    // Decimals written "#" in the pattern show only when they are not zero.
    for (int sobran = decimales - obligatorios; sobran > 0 && texto.endsWith(QLatin1Char('0'));
         --sobran) {
        texto.chop(1);
    }
    if (texto.endsWith(QLatin1Char('.'))) {
        texto.chop(1);
    }
    if (agrupa) {
        const qsizetype punto = texto.indexOf(QLatin1Char('.'));
        const qsizetype finEntero = punto < 0 ? texto.size() : punto;
        for (qsizetype i = finEntero - 3; i > 0; i -= 3) {
            texto.insert(i, QLatin1Char(','));
        }
    }
    return redondeado < 0 ? QLatin1Char('-') + texto : texto;
}

qint64 Formato::Redondea(double valor, int decimales) {
    // The tiny nudge keeps values such as 2.675, stored just below the half, rounding up as
    // their decimal text says.
    return std::llround(valor * std::pow(10.0, decimales) + (valor >= 0 ? 1e-7 : -1e-7));
}

QString Formato::NombreDeMes(int mes) {
    static const std::array<const char*, 12> nombres = {
        "enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
        "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
    return mes >= 1 && mes <= 12 ? QString::fromLatin1(nombres[mes - 1]) : QString();
}

QString Formato::DiaCorto(const QDate& fecha) {
    return fecha.toString(QStringLiteral("dd/")) + NombreDeMes(fecha.month()).left(3) +
           fecha.toString(QStringLiteral("/yyyy"));
}
