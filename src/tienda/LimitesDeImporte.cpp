#include "tienda/LimitesDeImporte.h"

#include "orvlib/Conexion.h"
#include "servicios/Rechazo.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

const QString kImporteMaximo = QStringLiteral("100000000000");
const QString kCantidadMaxima = QStringLiteral("1000000000");

struct Limite {
    const char* campo;            // the column, or an expression of the line's columns
    const char* condicion;        // when it is out of range: {c} the field, {importe} and
                                  // {cantidad} the limits
    const char* porQue;           // what the message says of it
    const char* nombre = nullptr; // how the message names an expression
};

const Limite kEncabezado[] = {
    {"Subtotal", "{c} IS NULL", "está vacío"},
    {"IVA", "{c} IS NULL", "está vacío"},
    {"ImpuestoAd", "{c} IS NULL", "está vacío"},
    {"Subtotal", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"IVA", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"ImpuestoAd", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Descuento", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Cargo1Cantidad", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Cargo2Cantidad", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Cargo3Cantidad", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Retencion", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Anticipo", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Desc1", "{c}<0 OR {c}>100", "no está entre 0 y 100 %"},
    {"Desc2", "{c}<0 OR {c}>100", "no está entre 0 y 100 %"},
    {"Desc3", "{c}<0 OR {c}>100", "no está entre 0 y 100 %"},
    {"Desc4", "{c}<0 OR {c}>100", "no está entre 0 y 100 %"},
    {"Desc5", "{c}<0 OR {c}>100", "no está entre 0 y 100 %"},
};
const Limite kPartida[] = {
    {"Cantidad", "{c} IS NULL", "está vacía"},
    {"PrecioNeto", "{c} IS NULL", "está vacío"},
    {"Cantidad", "ABS({c})>={cantidad}", "pasa de 1,000,000,000"},
    {"PrecioNeto", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"PrecioBruto", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"Cantidad*d.PrecioNeto", "ABS({c})>={importe}", "pasa de 100,000,000,000.00",
     "el importe (cantidad por precio)"},
    {"IVA", "{c}<0 OR {c}>=1000", "no está entre 0 y 1,000 %"},
    {"ImpuestoAd", "{c}<0 OR {c}>=1000", "no está entre 0 y 1,000 %"},
    {"BaseIVA", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"ImporteIVA", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"BaseImpuestoAd", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
    {"ImporteImpuestoAd", "ABS({c})>={importe}", "pasa de 100,000,000,000.00"},
};

// The limit's condition on a field: true when the field breaks it.
QString condicion(const Limite& limite, const QString& campo) {
    return QString::fromLatin1(limite.condicion)
        .replace(QLatin1String("{c}"), campo)
        .replace(QLatin1String("{importe}"), kImporteMaximo)
        .replace(QLatin1String("{cantidad}"), kCantidadMaxima);
}

// CASE that gives the index of the first limit a row breaks, NULL when it breaks none.
template <size_t N> QString primerFalla(const Limite (&limites)[N], const QString& alias) {
    QString caso = QStringLiteral("CASE");
    for (size_t i = 0; i < N; ++i) {
        caso += QStringLiteral(" WHEN %1 THEN %2")
                    .arg(condicion(limites[i], alias + QString::fromLatin1(limites[i].campo)))
                    .arg(i);
    }
    return caso + QStringLiteral(" END");
}

QString nombreDe(const QSqlQuery& q) {
    const QString serie = q.value(0).toString().trimmed();
    return serie.isEmpty() ? q.value(1).toString()
                           : serie + QLatin1Char(' ') + q.value(1).toString();
}

[[noreturn]] void rechaza(const QString& nota, const QString& donde, const Limite& limite) {
    throw Rechazo(QStringLiteral("La remisión %1 no se puede usar: %2 %3. Corríjala en Orvane y "
                                 "vuelva a intentar; no se cambió nada.")
                      .arg(nota, donde, QString::fromUtf8(limite.porQue)));
}

} // namespace

void LimitesDeImporte::Revisa(Conexion& cnn, const QString& seleccion) {
    const QString encabezado = primerFalla(kEncabezado, QStringLiteral("r."));
    QSqlQuery notas = cnn.consulta(
        QStringLiteral("SELECT r.Serie, r.Factura, %1 AS f FROM (SELECT * FROM %2) r WHERE %1 IS "
                       "NOT NULL ORDER BY r.Id LIMIT 1")
            .arg(encabezado, seleccion));
    if (notas.next()) {
        const Limite& l = kEncabezado[notas.value(2).toInt()];
        rechaza(nombreDe(notas), QStringLiteral("su %1").arg(QString::fromLatin1(l.campo)), l);
    }
    const QString partida = primerFalla(kPartida, QStringLiteral("d."));
    QSqlQuery lineas = cnn.consulta(
        QStringLiteral("SELECT r.Serie, r.Factura, %1 AS f, d.Partida FROM (SELECT Id, Serie, "
                       "Factura FROM %2) r JOIN remisionesdetalle d ON d.Id=r.Id WHERE %1 IS NOT "
                       "NULL ORDER BY r.Id, d.Partida LIMIT 1")
            .arg(partida, seleccion));
    if (lineas.next()) {
        const Limite& l = kPartida[lineas.value(2).toInt()];
        const QString campo = QString::fromUtf8(l.nombre != nullptr ? l.nombre : l.campo);
        rechaza(nombreDe(lineas),
                QStringLiteral("en su partida %1, %2").arg(lineas.value(3).toString(), campo), l);
    }
}

QString LimitesDeImporte::TotalFueraDeLimites() {
    // The header's own limits on the three amounts a note's total adds up.
    QStringList condiciones;
    for (const Limite& l : kEncabezado) {
        const QString campo = QString::fromLatin1(l.campo);
        if (campo == QLatin1String("Subtotal") || campo == QLatin1String("IVA") ||
            campo == QLatin1String("ImpuestoAd")) {
            condiciones << QLatin1Char('(') + condicion(l, campo) + QLatin1Char(')');
        }
    }
    return QLatin1Char('(') + condiciones.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}
