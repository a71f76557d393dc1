#include "orvlib/DeMonedas.h"

#include <array>

namespace {

// 0 to 29, with "UN" and "VEINTIÚN" cut short as they stand before a noun or MIL.
const std::array<const char*, 30> kUnidades = {"",
                                               "UN",
                                               "DOS",
                                               "TRES",
                                               "CUATRO",
                                               "CINCO",
                                               "SEIS",
                                               "SIETE",
                                               "OCHO",
                                               "NUEVE",
                                               "DIEZ",
                                               "ONCE",
                                               "DOCE",
                                               "TRECE",
                                               "CATORCE",
                                               "QUINCE",
                                               "DIECISÉIS",
                                               "DIECISIETE",
                                               "DIECIOCHO",
                                               "DIECINUEVE",
                                               "VEINTE",
                                               "VEINTIÚN",
                                               "VEINTIDÓS",
                                               "VEINTITRÉS",
                                               "VEINTICUATRO",
                                               "VEINTICINCO",
                                               "VEINTISÉIS",
                                               "VEINTISIETE",
                                               "VEINTIOCHO",
                                               "VEINTINUEVE"};

const std::array<const char*, 10> kDecenas = {
    "", "", "", "TREINTA", "CUARENTA", "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA", "NOVENTA"};

const std::array<const char*, 10> kCentenas = {
    "",           "CIENTO",      "DOSCIENTOS",  "TRESCIENTOS", "CUATROCIENTOS",
    "QUINIENTOS", "SEISCIENTOS", "SETECIENTOS", "OCHOCIENTOS", "NOVECIENTOS"};

QString junta(const QString& a, const QString& b) {
    return a.isEmpty() ? b : (b.isEmpty() ? a : a + QLatin1Char(' ') + b);
}

} // namespace

QString DeMonedas::menorDeMil(int n) {
    if (n == 100) {
        return QStringLiteral("CIEN");
    }
    const int resto = n % 100;
    QString decenas;
    if (resto < 30) {
        decenas = QString::fromUtf8(kUnidades[resto]);
    } else {
        decenas = QString::fromUtf8(kDecenas[resto / 10]);
        if (resto % 10 != 0) {
            decenas += QStringLiteral(" Y ") + QString::fromUtf8(kUnidades[resto % 10]);
        }
    }
    return junta(QString::fromUtf8(kCentenas[n / 100]), decenas);
}

QString DeMonedas::menorDeMillon(int n) {
    const int miles = n / 1000;
    const QString textoMiles = miles == 0   ? QString()
                               : miles == 1 ? QStringLiteral("MIL")
                                            : menorDeMil(miles) + QStringLiteral(" MIL");
    return junta(textoMiles, menorDeMil(n % 1000));
}

QString DeMonedas::Numeros(qint64 importe) {
    if (importe == 0) {
        return QStringLiteral("CERO ");
    }
    if (importe < 0) {
        return QStringLiteral("MENOS ") + Numeros(-importe);
    }
    // A million millions is a "billón": the millions part stays below a million.
    const qint64 billones = importe / 1000000000000;
    if (billones > 0) {
        const qint64 resto = importe % 1000000000000;
        const QString texto = billones == 1
                                  ? QStringLiteral("UN BILLÓN")
                                  : Numeros(billones).trimmed() + QStringLiteral(" BILLONES");
        return resto == 0 ? texto + QStringLiteral(" DE ")
                          : texto + QLatin1Char(' ') + Numeros(resto);
    }
    const auto millones = static_cast<int>(importe / 1000000);
    const auto resto = static_cast<int>(importe % 1000000);
    QString texto;
    if (millones > 0) {
        texto = millones == 1 ? QStringLiteral("UN MILLÓN")
                              : menorDeMillon(millones) + QStringLiteral(" MILLONES");
        if (resto == 0) {
            texto += QStringLiteral(" DE");
        }
    }
    return junta(texto, menorDeMillon(resto)) + QLatin1Char(' ');
}

QString DeMonedas::Centavos(int centavos) {
    return QStringLiteral(" %1").arg(centavos, 2, 10, QLatin1Char('0'));
}
