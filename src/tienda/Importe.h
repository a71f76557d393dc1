#pragma once

#include "orvlib/ErrorDelPrograma.h"
#include "tienda/Decimal.h"

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <stdexcept>

// Products of two amounts need 128 bits, which GCC and Clang provide.
__extension__ typedef __int128 Entero128;

// An amount that does not fit the program's decimal type: a result beyond ±922 billion, a
// value that is not a number. Every operation of Importe checks it rather than wrapping.
class ErrorDeImporte : public ErrorDelPrograma {
public:
    explicit ErrorDeImporte(const QString& texto)
        : ErrorDelPrograma(NumerosDeError::kSinNumero, texto) {}
};

// A money amount as a signed 64-bit count of ten-thousandths: four exact decimals, as the
// host's DECIMAL columns hold them. Conversions from binary fractions round half to even.
// Every operation is checked: a result that does not fit throws ErrorDeImporte.
class Importe {
public:
    constexpr Importe() = default;

    static constexpr Importe DeDiezmilesimos(qint64 n) { return Importe(n); }
    static Importe DeDouble(double valor);
    // Exact for a decimal text such as the server returns ("1234.5000", "-0.25"); other texts
    // go through their double value.
    static Importe DeTexto(const QString& texto);
    static Importe DeVariant(const QVariant& valor);

    constexpr qint64 Diezmilesimos() const { return n_; }
    double ADouble() const { return static_cast<double>(n_) / 10000.0; }
    // Plain decimal text for statements, without trailing zeros: 0.125, 850, -3.5.
    QString TextoSql() const;

    // The amount times a / b, rounded half to even.
    Importe Escala(qint64 a, qint64 b) const;
    // The amount times a / b in whole cents, halves away from zero: the rounding of every
    // figure a printed document shows.
    Importe EnCentavos(qint64 a = 1, qint64 b = 1) const;
    // A line's amount: quantity × unit price in whole cents, halves away from zero.
    static Importe PorCantidad(Decimal cantidad, Importe precio);
    // The tax of a base at a rate in per cent, in whole cents, halves away from zero.
    Importe PorTasa(Decimal tasa) const;

    Importe operator+(Importe o) const;
    Importe operator-(Importe o) const;
    Importe& operator+=(Importe o) { return *this = *this + o; }
    constexpr auto operator<=>(const Importe&) const = default;

private:
    constexpr explicit Importe(qint64 n)
        : n_(n) {}
    qint64 n_ = 0;
};
