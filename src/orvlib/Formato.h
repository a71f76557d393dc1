#pragma once

#include <QDate>
#include <QString>

// Numbers and dates as the program shows them, by explicit pattern and never by the machine's
// locale: "###,###,##0.00" and "#,0.00" group thousands with commas, "#0.00" does not, and the
// places after the point give the decimals, "0" always shown and "#" only when not zero
// ("0.##" writes 16 and 10.5). Halves round away from zero.
class Formato {
public:
    static QString Numero(double valor, const QString& patron);
    // Money as every window and message shows it: "#,0.00".
    static QString Dinero(double valor) { return Numero(valor, PatronDeDinero()); }
    static QString PatronDeDinero() { return QStringLiteral("#,0.00"); }
    // The value in units of 10^-decimales, rounded as Numero rounds it: 2.675 at two decimals
    // gives 268, -1.255 gives -126.
    static qint64 Redondea(double valor, int decimales);
    // "dd/mmm/yyyy" with Spanish month abbreviations: 01/nov/2026.
    static QString DiaCorto(const QDate& fecha);
    static QString NombreDeMes(int mes);
};
