#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

// A quantity, a rate or a discount in per cent, as the host's DECIMAL columns hold them: a
// signed count of ten-thousandths, read and written exactly. It is not money: it does not add
// to an amount, and the figures it enters come out as amounts through Importe::PorCantidad and
// Importe::PorTasa. Conversions and sums are checked as Importe's are (ErrorDeImporte).
class Decimal {
public:
    constexpr Decimal() = default;

    static constexpr Decimal DeDiezmilesimos(qint64 n) { return Decimal(n); }
    static Decimal DeDouble(double valor);
    static Decimal DeTexto(const QString& texto);
    static Decimal DeVariant(const QVariant& valor);

    constexpr qint64 Diezmilesimos() const { return n_; }
    double ADouble() const { return static_cast<double>(n_) / 10000.0; }
    // Plain decimal text for statements, without trailing zeros: 0.125, 16, -3.5.
    QString TextoSql() const;

    // The value times a / b, rounded half to even.
    Decimal Escala(qint64 a, qint64 b) const;
    Decimal operator+(Decimal o) const;
    Decimal operator-(Decimal o) const;
    Decimal& operator+=(Decimal o) { return *this = *this + o; }
    constexpr auto operator<=>(const Decimal&) const = default;

private:
    constexpr explicit Decimal(qint64 n)
        : n_(n) {}
    qint64 n_ = 0;
};
