#include "jobs/percent_reprint/ReimpresionConPorcentaje.h"

#include "hostdata/Rechazo.h"
#include "hostdata/TablasDeTrabajo.h"
#include "orvlib/BasesDD.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>

namespace {

const Importe kCien = Importe::DeDiezmilesimos(1000000);

} // namespace

ReimpresionConPorcentaje::ReimpresionConPorcentaje(Conexion& cnn)
    : cnn_(cnn) {}

Importe ReimpresionConPorcentaje::Factor(Importe porcentaje) {
    return porcentaje.Escala(1, 100);
}

Importe ReimpresionConPorcentaje::ReduceImporte(Importe importe, Importe porcentaje) {
    return importe - importe.Escala(porcentaje.Diezmilesimos(), 10000).Escala(1, 100);
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

ResumenDePorcentaje
ReimpresionConPorcentaje::Comprueba(qint64 inicial, qint64 final, const QString& serie,
                                    Importe porcentaje,
                                    const std::function<void(int, int)>& avance) {
    ValidaEntrada(inicial, final, porcentaje);
    const QString f = Factor(porcentaje).TextoSql();
    TablasDeTrabajo::Crea(cnn_);
    const QString rango =
        QStringLiteral("remisiones where Cancelada=0 and Serie=") +
        Sentencias::Texto(serie.trimmed()) +
        QStringLiteral(" and Factura>=%1 and Factura<=%2").arg(inicial).arg(final);
    // The copies and reductions of the whole range in four statements, the same rows and
    // values that one set of statements per note gives.
    cnn_.ejecuta(QStringLiteral("Insert into tmpremisiones Select * from ") + rango +
                 QStringLiteral(" order by Id"));
    cnn_.ejecuta(
        QStringLiteral("Insert into tmpremisionesdetalle Select d.* from remisionesdetalle d join "
                       "tmpremisiones t on t.Id=d.Id order by d.Id, d.Partida"));
    cnn_.ejecuta(QStringLiteral(
                     "Update tmpremisiones set IVA=IVA-IVA*%1,ImpuestoAd=ImpuestoAd-ImpuestoAd*%1,"
                     "Subtotal=Subtotal-Subtotal*%1,Descuento=Descuento-Descuento*%1")
                     .arg(f));
    cnn_.ejecuta(
        QStringLiteral("Update tmpremisionesdetalle set PrecioBruto=PrecioBruto-PrecioBruto*%1,"
                       "PrecioNeto=PrecioNeto-PrecioNeto*%1")
            .arg(f));
    ResumenDePorcentaje r;
    Recordset notas;
    BasesDD::AbrirTabla(notas, cnn_, rango + QStringLiteral(" order by Id"),
                        QStringLiteral("Subtotal,IVA,ImpuestoAd"));
    const int cuenta = notas.cuenta();
    for (; !notas.fin(); notas.siguiente()) {
        const Importe subtotal = Importe::DeVariant(notas.campo(QStringLiteral("Subtotal")));
        const Importe iva = Importe::DeVariant(notas.campo(QStringLiteral("IVA")));
        const Importe impAd = Importe::DeVariant(notas.campo(QStringLiteral("ImpuestoAd")));
        r.subtotalReal += subtotal;
        r.ivaReal += iva;
        r.impAdReal += impAd;
        r.subtotalNuevo += ReduceImporte(subtotal, porcentaje);
        r.ivaNuevo += ReduceImporte(iva, porcentaje);
        r.impAdNuevo += ReduceImporte(impAd, porcentaje);
        ++r.remisiones;
        if (avance) {
            avance(r.remisiones, cuenta);
        }
    }
    return r;
}
