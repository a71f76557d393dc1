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

QStringList DescuentosDeLaNota(const QString& nota) {
    QStringList descuentos;
    for (int n = 1; n <= 5; ++n) {
        descuentos << QStringLiteral("%1.Desc%2").arg(nota).arg(n);
    }
    return descuentos;
}

QString LlevaDescuentos(const QString& nota, const QString& producto) {
    // The IN list does not depend on the line: the server reads it once for the statement.
    return QStringLiteral("((%1<>0) AND NOT IFNULL(%2 IN (SELECT p.clave FROM productos p WHERE "
                          "p.Bloqueado=1),0))")
        .arg(DescuentosDeLaNota(nota).join(QStringLiteral("<>0 OR ")), producto);
}

QString Neto(const QString& importe, const QString& nota, const QString& producto) {
    return QStringLiteral("IF(%1,%2,%3)")
        .arg(LlevaDescuentos(nota, producto), ConDescuentos(importe, DescuentosDeLaNota(nota)),
             importe);
}

QString NetoConBase(const QString& importe, const QString& nota, const QString& producto,
                    const QString& baseGuardada) {
    return QStringLiteral("IF(%1,%2,IF(%3<>0,%3,%4))")
        .arg(LlevaDescuentos(nota, producto), ConDescuentos(importe, DescuentosDeLaNota(nota)),
             baseGuardada, importe);
}

QString Reducido(const QString& precio, const QString& factor) {
    // In ten-thousandths the product is whole but for a fraction; a fraction of exactly one
    // half goes to the even neighbour, any other to the nearest.
    const QString producto =
        QStringLiteral("CAST(%1*%2 AS DECIMAL(48,12))").arg(Decimal(precio), factor);
    const QString entero = QStringLiteral("TRUNCATE(%1*10000,0)").arg(producto);
    return QStringLiteral("(%1-IF(ABS(%2*10000-%3)=0.5 AND MOD(%3,2)=0,%3/10000,ROUND(%2,4)))")
        .arg(Decimal(precio), producto, entero);
}

ImpuestosDeLinea DeNeto(const QString& neto, const QString& tasaIva, const QString& tasaImpAd,
                        CifrasDeLinea::Reglas reglas) {
    // A rate of 0 or below gives no tax.
    const auto impuesto = [](const QString& base, const QString& tasa) {
        return QStringLiteral("IF(%1>0,%2,0)").arg(tasa, Impuesto(base, tasa));
    };
    const auto suma = [](const QString& a, const QString& b) {
        return QStringLiteral("(%1)+(%2)").arg(a, b);
    };
    ImpuestosDeLinea c;
    if (reglas.aplicaImpAd && !reglas.aplicaIva) {
        c.baseIva = neto;
        c.importeIva = impuesto(neto, tasaIva);
        c.baseImpAd = suma(neto, c.importeIva);
        c.importeImpAd = impuesto(c.baseImpAd, tasaImpAd);
        return c;
    }
    c.baseImpAd = neto;
    c.importeImpAd = impuesto(neto, tasaImpAd);
    c.baseIva = reglas.aplicaIva ? suma(neto, c.importeImpAd) : neto;
    c.importeIva = impuesto(c.baseIva, tasaIva);
    return c;
}

} // namespace CifrasEnSql
