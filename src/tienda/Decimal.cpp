#include "tienda/Decimal.h"

#include "tienda/Importe.h"

// The readings and the checked arithmetic are those of the amounts, on the same ten-thousandths.
namespace {

Decimal de(Importe i) {
    return Decimal::DeDiezmilesimos(i.Diezmilesimos());
}

Importe comoImporte(Decimal d) {
    return Importe::DeDiezmilesimos(d.Diezmilesimos());
}

} // namespace

Decimal Decimal::DeDouble(double valor) {
    return de(Importe::DeDouble(valor));
}

Decimal Decimal::DeTexto(const QString& texto) {
    return de(Importe::DeTexto(texto));
}

Decimal Decimal::DeVariant(const QVariant& valor) {
    return de(Importe::DeVariant(valor));
}

QString Decimal::TextoSql() const {
    return comoImporte(*this).TextoSql();
}

Decimal Decimal::Escala(qint64 a, qint64 b) const {
    return de(comoImporte(*this).Escala(a, b));
}

Decimal Decimal::operator+(Decimal o) const {
    return de(comoImporte(*this) + comoImporte(o));
}

Decimal Decimal::operator-(Decimal o) const {
    return de(comoImporte(*this) - comoImporte(o));
}
