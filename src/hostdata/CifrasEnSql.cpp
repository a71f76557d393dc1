#include "hostdata/CifrasEnSql.h"

namespace CifrasEnSql {

QString Decimal(const QString& expresion) {
    return QStringLiteral("CAST(%1 AS DECIMAL(28,4))").arg(expresion);
}

QString Redondea(const QString& expresion, int decimales) {
    return QStringLiteral("ROUND(CAST(%1 AS DECIMAL(48,12)),%2)").arg(expresion).arg(decimales);
}

QString Importe(const QString& cantidad, const QString& precio) {
    return Redondea(Decimal(cantidad) + QLatin1Char('*') + Decimal(precio));
}

QString Impuesto(const QString& base, const QString& tasa) {
    return Redondea(QStringLiteral("(%1)*%2/100").arg(base, Decimal(tasa)));
}

QString ConDescuentos(const QString& monto, const QStringList& descuentos) {
    QString resultado = monto;
    for (const QString& d : descuentos) {
        resultado = Redondea(QStringLiteral("(%1)*(100-%2)/100").arg(resultado, Decimal(d)));
    }
    return resultado;
}

} // namespace CifrasEnSql
