#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

#include "orvlib/Conexion.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"
#include "servicios/Rechazo.h"
#include "tienda/LimitesDeImporte.h"
#include "tienda/ReglasDeImpuestos.h"
#include "tienda/TablasDeTrabajo.h"
#include "trabajos/porcentaje/CopiasReducidas.h"

#include <QSqlQuery>

namespace {

const Decimal kCien = Decimal::DeDiezmilesimos(1000000);

} // namespace

ReimpresionConPorcentaje::ReimpresionConPorcentaje(Conexion& cnn)
    : cnn_(cnn) {}

Decimal ReimpresionConPorcentaje::Factor(Decimal porcentaje) {
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

void ReimpresionConPorcentaje::ValidaEntrada(qint64 inicial, qint64 final, Decimal porcentaje) {
    if (porcentaje <= Decimal() || porcentaje >= kCien) {
        throw Rechazo(QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100."));
    }
    if (inicial > final) {
        throw Rechazo(QStringLiteral("La remisión inicial es mayor que la final."));
    }
}

QString ReimpresionConPorcentaje::Parametros(qint64 inicial, qint64 final, const QString& serie,
                                             Decimal porcentaje) {
    return QStringLiteral("remisiones %1 a %2, serie '%3', porcentaje %4")
        .arg(inicial)
        .arg(final)
        .arg(serie.trimmed(), porcentaje.TextoSql());
}

QString ReimpresionConPorcentaje::ResumenDeBitacora(const ResumenDePorcentaje& r) {
    return QStringLiteral("%1 remisiones copiadas; total real %2, nuevo total %3")
        .arg(r.remisiones)
        .arg(Formato::Dinero(r.totalReal().ADouble()), Formato::Dinero(r.totalNuevo().ADouble()));
}

ResumenDePorcentaje
ReimpresionConPorcentaje::Comprueba(qint64 inicial, qint64 final, const QString& serie,
                                    Decimal porcentaje,
                                    const std::function<void(int, int)>& avance) {
    ValidaEntrada(inicial, final, porcentaje);
    const QString rango =
        QStringLiteral("remisiones where Cancelada=0 and Serie=") +
        Sentencias::Texto(serie.trimmed()) +
        QStringLiteral(" and Factura>=%1 and Factura<=%2").arg(inicial).arg(final);
    LimitesDeImporte::Revisa(cnn_, rango);
    TablasDeTrabajo::Crea(cnn_);
    cnn_.ejecuta(QStringLiteral("Insert into tmpremisiones Select * from ") + rango +
                 QStringLiteral(" order by Id"));
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
    CopiasReducidas(cnn_, Factor(porcentaje), ReglasDeImpuestos(cnn_)).CopiaYReduce();
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
