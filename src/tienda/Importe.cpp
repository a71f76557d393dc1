#include "tienda/Importe.h"

#include <cmath>
#include <limits>

namespace {

// a / b rounded half to even, b > 0.
Entero128 divideAlPar(Entero128 a, Entero128 b) {
    Entero128 q = a / b;
    Entero128 r = a % b;
    if (r < 0) {
        r += b;
        q -= 1;
    }
    if (2 * r > b || (2 * r == b && (q % 2 != 0))) {
        q += 1;
    }
    return q;
}

// a / b rounded half away from zero, b > 0.
Entero128 divideLejosDeCero(Entero128 a, Entero128 b) {
    const Entero128 q = a / b;
    const Entero128 r = a % b;
    if (2 * (r < 0 ? -r : r) >= b) {
        return a < 0 ? q - 1 : q + 1;
    }
    return q;
}

constexpr Entero128 kDiezmilesimos = 10000;

[[noreturn]] void desborda(const char* operacion) {
    throw ErrorDeImporte(
        QStringLiteral("Un importe pasa de lo que el programa maneja (%1; el mayor es "
                       "922,337,203,685,477.58). Revise los importes de las remisiones.")
            .arg(QString::fromLatin1(operacion)));
}

qint64 cabe(Entero128 valor, const char* operacion) {
    if (valor > std::numeric_limits<qint64>::max() || valor < std::numeric_limits<qint64>::min()) {
        desborda(operacion);
    }
    return static_cast<qint64>(valor);
}
constexpr Entero128 kDiezmilesimosPorCentavo = 100;

} // namespace

Importe Importe::DeDouble(double valor) {
    const double diezmilesimos = std::nearbyint(valor * 10000.0);
    // 2^63 is the first double beyond the range; NaN fails both comparisons.
    if (!(diezmilesimos < 9223372036854775808.0 && diezmilesimos >= -9223372036854775808.0)) {
        desborda("valor leído");
    }
    return Importe(static_cast<qint64>(diezmilesimos));
}

Importe Importe::DeTexto(const QString& texto) {
    // Read through views: every amount of a long read passes here.
    const QStringView t = QStringView(texto).trimmed();
    const bool negativo = t.startsWith(u'-');
    const QStringView cuerpo = negativo || t.startsWith(u'+') ? t.sliced(1) : t;
    const qsizetype punto = cuerpo.indexOf(u'.');
    const QStringView entero = punto < 0 ? cuerpo : cuerpo.first(punto);
    const QStringView fraccion = punto < 0 ? QStringView() : cuerpo.sliced(punto + 1);
    bool okEntero = entero.isEmpty();
    const qint64 e = entero.isEmpty() ? 0 : entero.toLongLong(&okEntero);
    const bool fraccionValida = std::all_of(fraccion.begin(), fraccion.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!okEntero || !fraccionValida || cuerpo.isEmpty() || fraccion.size() > 4) {
        return DeDouble(t.toDouble());
    }
    qint64 f = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        f = f * 10 + (i < fraccion.size() ? fraccion[i].unicode() - u'0' : 0);
    }
    const qint64 n = cabe(static_cast<Entero128>(e) * 10000 + f, "valor leído");
    return Importe(negativo ? -n : n);
}

Importe Importe::DeVariant(const QVariant& valor) {
    if (valor.typeId() == QMetaType::Double || valor.typeId() == QMetaType::Float) {
        return DeDouble(valor.toDouble());
    }
    return DeTexto(valor.toString());
}

QString Importe::TextoSql() const {
    const qint64 absoluto = n_ < 0 ? -n_ : n_;
    QString texto = QString::number(absoluto / 10000);
    QString fraccion = QStringLiteral("%1").arg(absoluto % 10000, 4, 10, QLatin1Char('0'));
    while (fraccion.endsWith(QLatin1Char('0'))) {
        fraccion.chop(1);
    }
    if (!fraccion.isEmpty()) {
        texto += QLatin1Char('.') + fraccion;
    }
    return n_ < 0 ? QLatin1Char('-') + texto : texto;
}

Importe Importe::operator+(Importe o) const {
    qint64 r = 0;
    if (__builtin_add_overflow(n_, o.n_, &r)) {
        desborda("suma");
    }
    return Importe(r);
}

Importe Importe::operator-(Importe o) const {
    qint64 r = 0;
    if (__builtin_sub_overflow(n_, o.n_, &r)) {
        desborda("resta");
    }
    return Importe(r);
}

Importe Importe::Escala(qint64 a, qint64 b) const {
    const Entero128 numerador = static_cast<Entero128>(n_) * a;
    return Importe(cabe(b < 0 ? divideAlPar(-numerador, -static_cast<Entero128>(b))
                              : divideAlPar(numerador, b),
                        "producto"));
}

Importe Importe::EnCentavos(qint64 a, qint64 b) const {
    const Entero128 numerador = static_cast<Entero128>(n_) * (b < 0 ? -a : a);
    const Entero128 divisor = static_cast<Entero128>(b < 0 ? -b : b) * kDiezmilesimosPorCentavo;
    return Importe(cabe(divideLejosDeCero(numerador, divisor) * 100, "producto"));
}

Importe Importe::PorCantidad(Decimal cantidad, Importe precio) {
    const Entero128 producto = static_cast<Entero128>(cantidad.Diezmilesimos()) * precio.n_;
    return Importe(
        cabe(divideLejosDeCero(producto, kDiezmilesimos * kDiezmilesimosPorCentavo) * 100,
             "cantidad por precio"));
}

Importe Importe::PorTasa(Decimal tasa) const {
    const Entero128 producto = static_cast<Entero128>(n_) * tasa.Diezmilesimos();
    return Importe(
        cabe(divideLejosDeCero(producto, kDiezmilesimos * 100 * kDiezmilesimosPorCentavo) * 100,
             "impuesto"));
}
