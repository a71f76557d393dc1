#include "trabajos/porcentaje/CopiasReducidas.h"

#include "orvlib/Conexion.h"
#include "tienda/CifrasEnSql.h"
#include "tienda/TablasDeTrabajo.h"

#include <QStringList>

namespace {

constexpr qint64 kUno = 10000; // 1 in ten-thousandths

// The line's reduced net amount and the tax rates that apply to it, worked out once a line in
// a derived table x over the host's lines d of the notes t: every base and tax of the copy is
// built from the net amount, which the server would otherwise work out six times a line. The
// LIMIT keeps the server from merging x into the outer statement, which would undo that.
QString lineasConNeto(const QString& f) {
    const QString precio = CifrasEnSql::Reducido(QStringLiteral("d.PrecioNeto"), f);
    const QString neto =
        QStringLiteral("IF(%1,%2,%3)")
            .arg(CifrasEnSql::LlevaDescuentos(QStringLiteral("t"), QStringLiteral("d.Producto")),
                 CifrasEnSql::Redondea(
                     QStringLiteral("(%1)*(1-%2)")
                         .arg(CifrasEnSql::ConDescuentos(
                                  CifrasEnSql::Importe(QStringLiteral("d.Cantidad"),
                                                       QStringLiteral("d.PrecioNeto")),
                                  CifrasEnSql::DescuentosDeLaNota(QStringLiteral("t"))),
                              f)),
                 CifrasEnSql::Importe(QStringLiteral("d.Cantidad"), precio));
    return QStringLiteral("SELECT d.*, %1 AS dr_neto, IF(t.IVA=0,0,d.IVA) AS dr_tasa_iva, "
                          "IF(t.ImpuestoAd=0,0,d.ImpuestoAd) AS dr_tasa_impad FROM "
                          "remisionesdetalle d JOIN tmpremisiones t ON t.Id=d.Id LIMIT "
                          "18446744073709551615")
        .arg(neto);
}

// The reduced copy of a line x of lineasConNeto, column by column; every expression reads the
// original line only. A note issued without a tax puts all its lines at rate 0 for that tax.
QMap<QString, QString> lineaReducida(const QString& f, CifrasDeLinea::Reglas reglas) {
    const CifrasEnSql::ImpuestosDeLinea c =
        CifrasEnSql::DeNeto(QStringLiteral("x.dr_neto"), QStringLiteral("x.dr_tasa_iva"),
                            QStringLiteral("x.dr_tasa_impad"), reglas);
    return {
        {QStringLiteral("precioneto"), CifrasEnSql::Reducido(QStringLiteral("x.PrecioNeto"), f)},
        {QStringLiteral("preciobruto"), CifrasEnSql::Reducido(QStringLiteral("x.PrecioBruto"), f)},
        {QStringLiteral("baseimpuestoad"), c.baseImpAd},
        {QStringLiteral("importeimpuestoad"), c.importeImpAd},
        {QStringLiteral("baseiva"), c.baseIva},
        {QStringLiteral("importeiva"), c.importeIva}};
}

} // namespace

CopiasReducidas::CopiasReducidas(Conexion& cnn, Decimal factor, CifrasDeLinea::Reglas reglas)
    : cnn_(cnn)
    , factor_(factor)
    , reglas_(reglas) {}

Importe CopiasReducidas::Reducido(Importe valor, Decimal factor) {
    return valor - valor.Escala(factor.Diezmilesimos(), kUno);
}

CifrasDeLinea CopiasReducidas::Linea(Importe importeOriginal, Decimal cantidad,
                                     Importe precioReducido, Decimal tasaIva, Decimal tasaImpAd,
                                     const CifrasDeLinea::Descuentos& descuentos, Decimal factor,
                                     CifrasDeLinea::Reglas reglas) {
    const Importe importe = Importe::PorCantidad(cantidad, precioReducido);
    // A discounted line keeps its share of the discount: its net amount is the original's
    // lowered by the factor. Without discounts the net amount is the amount printed.
    const Importe neto =
        descuentos.Hay()
            ? descuentos.Aplica(importeOriginal).EnCentavos(kUno - factor.Diezmilesimos(), kUno)
            : importe;
    return CifrasDeLinea::DeNeto(importe, neto, tasaIva, tasaImpAd, reglas);
}

void CopiasReducidas::CopiaYReduce() {
    copiaLineas();
    reduceEncabezados();
}

void CopiasReducidas::copiaLineas() {
    const QString f = factor_.TextoSql();
    cnn_.ejecuta(QStringLiteral("INSERT INTO tmpremisionesdetalle SELECT %1 FROM (%2) x")
                     .arg(TablasDeTrabajo::Columnas(cnn_, QStringLiteral("remisionesdetalle"),
                                                    QStringLiteral("x"), lineaReducida(f, reglas_)),
                          lineasConNeto(f)));
}

void CopiasReducidas::reduceEncabezados() {
    const QString f = factor_.TextoSql();
    const auto reducido = [&f](const QString& columna) {
        return CifrasEnSql::Redondea(
            QStringLiteral("%1*(1-%2)").arg(CifrasEnSql::Decimal(columna), f));
    };
    // The line's net amount is the base no other tax enters: its copy was given it whole.
    const QString neto = reglas_.aplicaImpAd && !reglas_.aplicaIva
                             ? QStringLiteral("d.BaseIVA")
                             : QStringLiteral("d.BaseImpuestoAd");
    const QString sumas =
        QStringLiteral("SELECT d.Id, SUM(%1) AS importe, SUM(%2) AS neto, SUM(d.ImporteIVA) AS "
                       "iva, SUM(d.ImporteImpuestoAd) AS impad, MAX(NOT IFNULL(d.Producto IN "
                       "(SELECT p.clave FROM productos p WHERE p.Bloqueado=1),0)) AS libre FROM "
                       "tmpremisionesdetalle d GROUP BY d.Id")
            .arg(CifrasEnSql::Importe(QStringLiteral("d.Cantidad"), QStringLiteral("d.PrecioNeto")),
                 neto);
    // A copy the discounts fell on shows what they took from its reduced lines; any other
    // keeps its own Descuento, reduced.
    const QString conDescuentos = QStringLiteral("l.Id IS NOT NULL AND (%1<>0) AND l.libre")
                                      .arg(CifrasEnSql::DescuentosDeLaNota(QStringLiteral("t"))
                                               .join(QStringLiteral("<>0 OR ")));
    cnn_.ejecuta(
        QStringLiteral("UPDATE tmpremisiones t LEFT JOIN (%1) l ON l.Id=t.Id SET "
                       "t.Subtotal=IFNULL(l.neto,%2),t.IVA=IFNULL(l.iva,%3),"
                       "t.ImpuestoAd=IFNULL(l.impad,%4),t.Descuento=IF(%5,l.importe-l.neto,%6)")
            .arg(sumas, reducido(QStringLiteral("t.Subtotal")), reducido(QStringLiteral("t.IVA")),
                 reducido(QStringLiteral("t.ImpuestoAd")), conDescuentos,
                 reducido(QStringLiteral("t.Descuento"))));
}
