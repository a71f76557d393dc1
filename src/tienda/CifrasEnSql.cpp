#include "tienda/CifrasEnSql.h"

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

QString Neto(const QString& importe, const QString& nota, const QString& producto) {
    QStringList descuentos;
    QStringList alguno;
    for (int n = 1; n <= 5; ++n) {
        descuentos << QStringLiteral("%1.Desc%2").arg(nota).arg(n);
        alguno << descuentos.last() + QStringLiteral("<>0");
    }
    return QStringLiteral("IF((%1) AND IFNULL((SELECT p.Bloqueado FROM productos p WHERE "
                          "p.clave=%2 LIMIT 1),0)<>1,%3,%4)")
        .arg(alguno.join(QStringLiteral(" OR ")), producto, ConDescuentos(importe, descuentos),
             importe);
}

} // namespace CifrasEnSql
