#include "jobs/percent_reprint/ReimpresionConPorcentaje.h"

#include "hostdata/Rechazo.h"
#include "hostdata/TablasDeTrabajo.h"
#include "orvlib/Conexion.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"
#include "printing/DesgloseDeImpuestos.h"

#include <QSqlQuery>

namespace {

const Importe kCien = Importe::DeDiezmilesimos(1000000);

} // namespace

ReimpresionConPorcentaje::ReimpresionConPorcentaje(Conexion& cnn)
    : cnn_(cnn) {}

Importe ReimpresionConPorcentaje::Factor(Importe porcentaje) {
    return porcentaje.Escala(1, 100);
}

QString ReimpresionConPorcentaje::FormatoImporte(Importe importe) {
    return Formato::Numero(importe.ADouble(), QStringLiteral("###,###,##0.00"))
        .rightJustified(14, QLatin1Char(' '));
}

QString ReimpresionConPorcentaje::Resumen(const ResumenDePorcentaje& r) {
    const QStringList lineas = {
        QStringLiteral("Subtotal real:  ") + FormatoImporte(r.subtotalReal),
        QStringLiteral("I. V. A. real:  ") + FormatoImporte(r.ivaReal),
        QStringLiteral("Imp. ad. real:  ") + FormatoImporte(r.impAdReal),
        QStringLiteral("Total real:     ") + FormatoImporte(r.totalReal()),
        QString(),
        QStringLiteral("Nuevo subtotal: ") + FormatoImporte(r.subtotalNuevo),
        QStringLiteral("Nuevo I. V. A.: ") + FormatoImporte(r.ivaNuevo),
        QStringLiteral("Nuevo imp. ad.: ") + FormatoImporte(r.impAdNuevo),
        QStringLiteral("Nuevo total:    ") + FormatoImporte(r.totalNuevo()),
    };
    return lineas.join(QStringLiteral("\r\n"));
}

void ReimpresionConPorcentaje::BorraTablasDeTrabajo() {
    TablasDeTrabajo::Borra(cnn_);
}

void ReimpresionConPorcentaje::ValidaEntrada(qint64 inicial, qint64 final, Importe porcentaje) {
    if (porcentaje <= Importe() || porcentaje >= kCien) {
        throw Rechazo(QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100."));
    }
    if (inicial > final) {
        throw Rechazo(QStringLiteral("La remisión inicial es mayor que la final."));
    }
}

QString ReimpresionConPorcentaje::Parametros(qint64 inicial, qint64 final, const QString& serie,
                                             Importe porcentaje) {
    return QStringLiteral("remisiones %1 a %2, serie '%3', porcentaje %4")
        .arg(inicial)
        .arg(final)
        .arg(serie.trimmed(), porcentaje.TextoSql());
}

QString ReimpresionConPorcentaje::ResumenDeBitacora(const ResumenDePorcentaje& r) {
    return QStringLiteral("%1 remisiones copiadas; total real %2, nuevo total %3")
        .arg(r.remisiones)
        .arg(Formato::Numero(r.totalReal().ADouble(), QStringLiteral("#,0.00")),
             Formato::Numero(r.totalNuevo().ADouble(), QStringLiteral("#,0.00")));
}

namespace {

QString reducido(const QString& columna, const QString& f) {
    return QStringLiteral("ROUND(%1-%1*%2,2)").arg(columna, f);
}

// The reduced copy of a line d of note t, column by column: its prices lowered by the factor
// f to cents, and its figures worked out by the server from the reduced price, each expression
// on its own. A note issued without a tax keeps that tax at 0 on its lines.
QMap<QString, QString> lineaReducida(const QString& f, CifrasDeLinea::Reglas reglas) {
    const QString importe =
        QStringLiteral("ROUND(d.Cantidad*%1,2)").arg(reducido(QStringLiteral("d.PrecioNeto"), f));
    const QString tasaIva = QStringLiteral("IF(t.IVA=0,0,d.IVA)");
    const QString tasaImpAd = QStringLiteral("IF(t.ImpuestoAd=0,0,d.ImpuestoAd)");
    const auto impuesto = [](const QString& base, const QString& tasa) {
        return QStringLiteral("ROUND((%1)*%2/100,2)").arg(base, tasa);
    };
    QString baseIva = importe;
    QString baseImpAd = importe;
    if (reglas.aplicaIva) {
        baseIva = importe + QLatin1Char('+') + impuesto(importe, tasaImpAd);
    } else if (reglas.aplicaImpAd) {
        baseImpAd = importe + QLatin1Char('+') + impuesto(importe, tasaIva);
    }
    return {{QStringLiteral("preciobruto"), reducido(QStringLiteral("d.PrecioBruto"), f)},
            {QStringLiteral("precioneto"), reducido(QStringLiteral("d.PrecioNeto"), f)},
            {QStringLiteral("baseimpuestoad"), baseImpAd},
            {QStringLiteral("importeimpuestoad"), impuesto(baseImpAd, tasaImpAd)},
            {QStringLiteral("baseiva"), baseIva},
            {QStringLiteral("importeiva"), impuesto(baseIva, tasaIva)}};
}

} // namespace

void ReimpresionConPorcentaje::copiaLineasReducidas(const QString& f) {
    cnn_.ejecuta(QStringLiteral("Insert into tmpremisionesdetalle Select %1 from remisionesdetalle "
                                "d join tmpremisiones t on t.Id=d.Id")
                     .arg(TablasDeTrabajo::Columnas(cnn_, QStringLiteral("remisionesdetalle"),
                                                    QStringLiteral("d"),
                                                    lineaReducida(f, ReglasDeImpuestos(cnn_)))));
}

void ReimpresionConPorcentaje::reduceEncabezados(const QString& f) {
    // Each copy's header is the sum of its reduced lines; a note without lines is reduced whole.
    cnn_.ejecuta(
        QStringLiteral(
            "Update tmpremisiones t left join (select Id, SUM(ROUND(Cantidad*PrecioNeto,2)) as s, "
            "SUM(ImporteIVA) as i, SUM(ImporteImpuestoAd) as a from tmpremisionesdetalle group by "
            "Id) l on l.Id=t.Id set t.Subtotal=IFNULL(l.s,%1),t.IVA=IFNULL(l.i,%2),"
            "t.ImpuestoAd=IFNULL(l.a,%3),t.Descuento=%4")
            .arg(reducido(QStringLiteral("t.Subtotal"), f), reducido(QStringLiteral("t.IVA"), f),
                 reducido(QStringLiteral("t.ImpuestoAd"), f),
                 reducido(QStringLiteral("t.Descuento"), f)));
}

ResumenDePorcentaje
ReimpresionConPorcentaje::Comprueba(qint64 inicial, qint64 final, const QString& serie,
                                    Importe porcentaje,
                                    const std::function<void(int, int)>& avance) {
    ValidaEntrada(inicial, final, porcentaje);
    TablasDeTrabajo::Crea(cnn_);
    const QString rango =
        QStringLiteral("remisiones where Cancelada=0 and Serie=") +
        Sentencias::Texto(serie.trimmed()) +
        QStringLiteral(" and Factura>=%1 and Factura<=%2").arg(inicial).arg(final);
    cnn_.ejecuta(QStringLiteral("Insert into tmpremisiones Select * from ") + rango +
                 QStringLiteral(" order by Id"));
    const QString f = Factor(porcentaje).TextoSql();
    copiaLineasReducidas(f);
    // The real figures are the host's, read before the headers change.
    const QString sumas = QStringLiteral("SELECT COUNT(*), IFNULL(SUM(Subtotal),0), "
                                         "IFNULL(SUM(IVA),0), IFNULL(SUM(ImpuestoAd),0) FROM "
                                         "tmpremisiones");
    ResumenDePorcentaje r;
    QSqlQuery reales = cnn_.consulta(sumas);
    reales.next();
    r.remisiones = reales.value(0).toInt();
    r.subtotalReal = Importe::DeVariant(reales.value(1));
    r.ivaReal = Importe::DeVariant(reales.value(2));
    r.impAdReal = Importe::DeVariant(reales.value(3));
    reduceEncabezados(f);
    // The new figures are what the printed copies say.
    QSqlQuery nuevos = cnn_.consulta(sumas);
    nuevos.next();
    r.subtotalNuevo = Importe::DeVariant(nuevos.value(1));
    r.ivaNuevo = Importe::DeVariant(nuevos.value(2));
    r.impAdNuevo = Importe::DeVariant(nuevos.value(3));
    if (avance) {
        avance(r.remisiones, r.remisiones);
    }
    return r;
}
