#include "trabajos/porcentaje/CopiasReducidas.h"

#include "orvlib/ActualizacionPorLotes.h"
#include "orvlib/Conexion.h"
#include "tienda/CifrasEnSql.h"

#include <QSqlQuery>

namespace {

constexpr qint64 kUno = 10000; // 1 in ten-thousandths

Importe importe(const QSqlQuery& q, int columna) {
    return Importe::DeVariant(q.value(columna));
}

Decimal decimal(const QSqlQuery& q, int columna) {
    return Decimal::DeVariant(q.value(columna));
}

// The reduced sums of one copy, written as its header.
struct SumasDeCopia {
    qint32 id = 0;
    Importe importe, neto, iva, impAd, descuentoOriginal;
    bool conDescuentos = false;
};

QString literal(Importe valor) {
    return valor.TextoSql();
}

} // namespace

CopiasReducidas::CopiasReducidas(Conexion& cnn, Decimal factor, CifrasDeLinea::Reglas reglas)
    : cnn_(cnn)
    , factor_(factor)
    , reglas_(reglas) {}

Importe CopiasReducidas::Reducido(Importe valor, Decimal factor) {
    return valor - valor.Escala(factor.Diezmilesimos(), kUno);
}

CifrasDeLinea CopiasReducidas::Linea(const CifrasDeLinea& original, Decimal cantidad,
                                     Importe precioReducido, Decimal tasaIva, Decimal tasaImpAd,
                                     bool conDescuentos, Decimal factor,
                                     CifrasDeLinea::Reglas reglas) {
    const Importe importe = Importe::PorCantidad(cantidad, precioReducido);
    // A discounted line keeps its share of the discount: its net amount is the original's
    // lowered by the factor. Without discounts the net amount is the amount printed.
    const Importe neto =
        conDescuentos ? original.neto.EnCentavos(kUno - factor.Diezmilesimos(), kUno) : importe;
    return CifrasDeLinea::DeNeto(importe, neto, tasaIva, tasaImpAd, reglas);
}

void CopiasReducidas::Reduce() {
    reduceLineas();
    reduceEncabezadosSinLineas();
}

void CopiasReducidas::reduceLineas() {
    QSqlQuery q = cnn_.consulta(QStringLiteral(
        "SELECT d.Id, d.Partida, d.Cantidad, d.PrecioNeto, d.PrecioBruto, d.IVA, d.ImpuestoAd, "
        "d.BaseImpuestoAd, d.ImporteImpuestoAd, d.BaseIVA, d.ImporteIVA, t.IVA, t.ImpuestoAd, "
        "t.Descuento, t.Desc1, t.Desc2, t.Desc3, t.Desc4, t.Desc5, IF(t.Desc1<>0 OR t.Desc2<>0 "
        "OR t.Desc3<>0 OR t.Desc4<>0 OR t.Desc5<>0, (SELECT p.Bloqueado FROM productos p WHERE "
        "p.clave=d.Producto LIMIT 1), 0) FROM tmpremisionesdetalle d JOIN tmpremisiones t ON "
        "t.Id=d.Id ORDER BY d.Id, d.Partida"));
    ActualizacionPorLotes lineas(cnn_, QStringLiteral("tmpremisionesdetalle"),
                                 {QStringLiteral("Id"), QStringLiteral("Partida")},
                                 {QStringLiteral("PrecioNeto"), QStringLiteral("PrecioBruto"),
                                  QStringLiteral("BaseImpuestoAd"),
                                  QStringLiteral("ImporteImpuestoAd"), QStringLiteral("BaseIVA"),
                                  QStringLiteral("ImporteIVA")});
    ActualizacionPorLotes encabezados(cnn_, QStringLiteral("tmpremisiones"), {QStringLiteral("Id")},
                                      {QStringLiteral("Subtotal"), QStringLiteral("IVA"),
                                       QStringLiteral("ImpuestoAd"), QStringLiteral("Descuento")});
    const auto escribeEncabezado = [this, &encabezados](const SumasDeCopia& s) {
        const Importe descuento =
            s.conDescuentos ? s.importe - s.neto
                            : s.descuentoOriginal.EnCentavos(kUno - factor_.Diezmilesimos(), kUno);
        encabezados.Agrega({QString::number(s.id), literal(s.neto), literal(s.iva),
                            literal(s.impAd), literal(descuento)});
    };
    SumasDeCopia suma;
    while (q.next()) {
        const qint32 id = q.value(0).toInt();
        if (id != suma.id) {
            if (suma.id != 0) {
                escribeEncabezado(suma);
            }
            suma = SumasDeCopia{id, {}, {}, {}, {}, importe(q, 13), false};
        }
        bool conDescuentos = false;
        const CifrasDeLinea c = reduceLinea(q, lineas, conDescuentos);
        suma.importe += c.importe;
        suma.neto += c.neto;
        suma.iva += c.importeIva;
        suma.impAd += c.importeImpAd;
        suma.conDescuentos = suma.conDescuentos || conDescuentos;
    }
    if (suma.id != 0) {
        escribeEncabezado(suma);
    }
    lineas.Termina();
    encabezados.Termina();
}

CifrasDeLinea CopiasReducidas::reduceLinea(const QSqlQuery& q, ActualizacionPorLotes& lineas,
                                           bool& conDescuentos) const {
    // A note issued without a tax puts all its lines at rate 0 for that tax.
    const Decimal tasaIva = importe(q, 11) == Importe() ? Decimal() : decimal(q, 5);
    const Decimal tasaImpAd = importe(q, 12) == Importe() ? Decimal() : decimal(q, 6);
    CifrasDeLinea::Descuentos descuentos;
    for (int n = 0; n < 5; ++n) {
        descuentos.tasas[n] = decimal(q, 14 + n);
    }
    conDescuentos = descuentos.Hay() && q.value(19).toInt() != 1;
    const Decimal cantidad = decimal(q, 2);
    const CifrasDeLinea original = CifrasDeLinea::Completa(
        {Importe(), Importe(), importe(q, 7), importe(q, 8), importe(q, 9), importe(q, 10)},
        cantidad, importe(q, 3), tasaIva, tasaImpAd, reglas_,
        conDescuentos ? descuentos : CifrasDeLinea::Descuentos());
    const Importe precio = Reducido(importe(q, 3), factor_);
    const CifrasDeLinea c =
        Linea(original, cantidad, precio, tasaIva, tasaImpAd, conDescuentos, factor_, reglas_);
    lineas.Agrega({q.value(0).toString(), q.value(1).toString(), literal(precio),
                   literal(Reducido(importe(q, 4), factor_)), literal(c.baseImpAd),
                   literal(c.importeImpAd), literal(c.baseIva), literal(c.importeIva)});
    return c;
}

void CopiasReducidas::reduceEncabezadosSinLineas() {
    const QString f = factor_.TextoSql();
    const auto reducido = [&f](const QString& columna) {
        return QStringLiteral("%1=%2").arg(
            columna, CifrasEnSql::Redondea(
                         QStringLiteral("%1-%1*%2").arg(CifrasEnSql::Decimal(columna), f)));
    };
    cnn_.ejecuta(QStringLiteral("UPDATE tmpremisiones SET %1,%2,%3,%4 WHERE NOT EXISTS (SELECT 1 "
                                "FROM tmpremisionesdetalle d WHERE d.Id=tmpremisiones.Id)")
                     .arg(reducido(QStringLiteral("Subtotal")), reducido(QStringLiteral("IVA")),
                          reducido(QStringLiteral("ImpuestoAd")),
                          reducido(QStringLiteral("Descuento"))));
}
