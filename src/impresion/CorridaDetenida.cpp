#include "impresion/CorridaDetenida.h"

#include "impresion/ImpresionDeRemisiones.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"

#include <QSqlQuery>

namespace {

// The job's runs from the window and from the command line share one record.
QString seccion(const QString& trabajo) {
    return QStringLiteral("Impresión detenida (%1)").arg(trabajo.section(QLatin1Char(' '), 0, 0));
}

QString folioDe(const QSqlQuery& q) {
    return (q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString()).trimmed();
}

} // namespace

CorridaDetenida::Copias CorridaDetenida::LeeCopias(Conexion& cnn) {
    Copias copias;
    // The server's checksum of each table's rows, whatever their order.
    QSqlQuery sumas =
        cnn.consulta(QStringLiteral("CHECKSUM TABLE tmpremisiones, tmpremisionesdetalle"));
    QStringList huella;
    while (sumas.next()) {
        huella << sumas.value(1).toString();
    }
    copias.huella = huella.join(QLatin1Char('-'));
    QSqlQuery q =
        cnn.consulta(QStringLiteral("SELECT Serie, Factura, Id FROM tmpremisiones ORDER BY Id"));
    while (q.next()) {
        copias.folios.append({q.value(2).toInt(), folioDe(q)});
    }
    return copias;
}

std::optional<CorridaDetenida> CorridaDetenida::Tras(const ResultadoDeImpresion& resultado,
                                                     const Copias& copias) {
    if (resultado.Completa() || resultado.idSiguiente == 0) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < copias.folios.size(); ++i) {
        if (copias.folios[i].first == resultado.idSiguiente) {
            CorridaDetenida d;
            d.id = resultado.idSiguiente;
            d.numero = static_cast<int>(i) + 1;
            d.total = static_cast<int>(copias.folios.size());
            d.folio = copias.folios[i].second;
            d.huella = copias.huella;
            return d;
        }
    }
    return std::nullopt;
}

std::optional<CorridaDetenida> CorridaDetenida::Lee(const QString& trabajo) {
    const ArchivoIni ini(Proceso::actual().stArchivoIni);
    CorridaDetenida d;
    d.huella = ini.lee(seccion(trabajo), QStringLiteral("Huella"));
    if (d.huella.isEmpty()) {
        return std::nullopt;
    }
    d.id = ini.lee(seccion(trabajo), QStringLiteral("Id")).toInt();
    d.numero = ini.lee(seccion(trabajo), QStringLiteral("Remisión")).toInt();
    d.total = ini.lee(seccion(trabajo), QStringLiteral("Total")).toInt();
    d.folio = ini.lee(seccion(trabajo), QStringLiteral("Folio"));
    return d;
}

void CorridaDetenida::Anota(const QString& trabajo,
                            const std::optional<CorridaDetenida>& detenida) {
    // A job with nothing kept and nothing to keep leaves the settings file as it is.
    if (!detenida && !Lee(trabajo)) {
        return;
    }
    const CorridaDetenida d = detenida.value_or(CorridaDetenida{});
    const QString s = seccion(trabajo);
    try {
        ArchivoIni(Proceso::actual().stArchivoIni)
            .escribe({{s, QStringLiteral("Huella"), d.huella},
                      {s, QStringLiteral("Id"), QString::number(d.id)},
                      {s, QStringLiteral("Remisión"), QString::number(d.numero)},
                      {s, QStringLiteral("Total"), QString::number(d.total)},
                      {s, QStringLiteral("Folio"), d.folio}});
    } catch (const ErrorOrvlib&) {
        // The note of where a run stopped never undoes or stops the run it describes.
    }
}

void CorridaDetenida::Verifica(Conexion& cnn) const {
    if (LeeCopias(cnn).huella != huella) {
        throw Rechazo(
            QStringLiteral(
                "No se puede continuar la impresión detenida en la remisión %1 (folio %2): las "
                "remisiones de trabajo ya no son las que se imprimían (el trabajo se volvió a "
                "aplicar, aquí o en otra estación, o las remisiones cambiaron). Imprima de nuevo "
                "desde el principio.")
                .arg(numero)
                .arg(folio));
    }
}

CorridaDetenida CorridaDetenida::DesdeElFolio(Conexion& cnn, const QString& buscado) const {
    const Copias copias = LeeCopias(cnn);
    if (copias.huella != huella) {
        Verifica(cnn);
    }
    const QString texto = buscado.trimmed();
    for (qsizetype i = 0; i < copias.folios.size(); ++i) {
        const QString& folioDeCopia = copias.folios[i].second;
        if (folioDeCopia == texto || folioDeCopia.section(QLatin1Char(' '), -1) == texto) {
            CorridaDetenida desde = *this;
            desde.id = copias.folios[i].first;
            desde.numero = static_cast<int>(i) + 1;
            desde.folio = folioDeCopia;
            return desde;
        }
    }
    throw Rechazo(QStringLiteral("La remisión con folio %1 no está entre las %2 de la impresión "
                                 "detenida (se detuvo en el folio %3).")
                      .arg(texto)
                      .arg(total)
                      .arg(folio));
}

QString CorridaDetenida::Oferta() const {
    return QStringLiteral("Continuar desde la re&misión %1 (folio %2)").arg(numero).arg(folio);
}

QString CorridaDetenida::ParaLaBitacora() const {
    return QStringLiteral("desde la remisión %1 de %2 (folio %3)")
        .arg(numero)
        .arg(total)
        .arg(folio);
}
