#include "jobs/cap_reprint/ReimpresionConTope.h"

#include "hostdata/Rechazo.h"
#include "hostdata/TablasDeTrabajo.h"
#include "orvlib/BasesDD.h"
#include "orvlib/DeArchivos.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/Formato.h"
#include "orvlib/ListasDeValores.h"
#include "orvlib/Sentencias.h"
#include "orvlib/Windows1252.h"
#include "orvlib/libKwtm.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <limits>

namespace {

QString campoCitado(QString texto) {
    return QLatin1Char('"') + texto.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

ReimpresionConTope::ReimpresionConTope(Conexion& cnnBdD, QString archivoLista)
    : cnn_(cnnBdD)
    , archivoLista_(std::move(archivoLista)) {}

void ReimpresionConTope::CreaTablasDeTrabajo() {
    TablasDeTrabajo::Crea(cnn_);
}

void ReimpresionConTope::BorraTablasDeTrabajo() {
    TablasDeTrabajo::Borra(cnn_);
}

bool ReimpresionConTope::PasaLaAsignacion(Importe suma, Importe totalDia, Importe tope,
                                          Importe totalPeriodo) {
    if (totalPeriodo == Importe()) {
        return false;
    }
    // suma > totalDia × tope ÷ totalPeriodo, multiplied out so no rounding enters.
    const Entero128 izquierda =
        static_cast<Entero128>(suma.Diezmilesimos()) * totalPeriodo.Diezmilesimos();
    const Entero128 derecha =
        static_cast<Entero128>(totalDia.Diezmilesimos()) * tope.Diezmilesimos();
    return totalPeriodo > Importe() ? izquierda > derecha : izquierda < derecha;
}

QString ReimpresionConTope::condicionDelPeriodo(const QDate& desde, const QDate& hasta) const {
    return QStringLiteral("remisiones WHERE Cancelada=0 AND Fecha>='") + libKwtm::FechaSQL(desde) +
           QStringLiteral("' AND Fecha<='") + libKwtm::FechaSQL(hasta) +
           QStringLiteral("' AND Serie=") + Sentencias::Texto(serie_);
}

void ReimpresionConTope::ValidaEntrada(const QDate& desde, const QDate& hasta, Importe tope,
                                       qint64 folioInicial) {
    if (!desde.isValid() || !hasta.isValid()) {
        throw Rechazo(QStringLiteral("Indique las dos fechas del período (DD/MM/AAAA)."));
    }
    if (desde > hasta) {
        throw Rechazo(QStringLiteral("La fecha inicial del período es posterior a la final."));
    }
    if (tope <= Importe()) {
        throw Rechazo(QStringLiteral("La cantidad tope debe ser mayor que cero."));
    }
    if (folioInicial <= 0 || folioInicial > kFolioMaximo) {
        throw Rechazo(QStringLiteral("El folio a imprimir debe estar entre 1 y 2,147,483,647."));
    }
}

ResultadoDeTope ReimpresionConTope::Aplica(const QDate& desde, const QDate& hasta,
                                           const QString& serie, Importe tope, qint64 folioInicial,
                                           const std::function<void()>& alAvanzar) {
    ValidaEntrada(desde, hasta, tope, folioInicial);
    serie_ = serie;
    tope_ = tope;
    // The notes are chosen first, reading only; nothing changes unless every folio they get
    // fits in the folio column.
    ResultadoDeTope resultado = eligeNotas(desde, hasta, folioInicial, alAvanzar);
    const qint64 ultimoFolio = folioInicial + elegidas_.size() - 1;
    if (ultimoFolio > kFolioMaximo) {
        throw Rechazo(QStringLiteral("Las %1 remisiones elegidas, numeradas desde el folio %2, "
                                     "llegarían al folio %3, más allá del mayor posible "
                                     "(2,147,483,647). Indique un folio a imprimir menor.")
                          .arg(elegidas_.size())
                          .arg(folioInicial)
                          .arg(ultimoFolio));
    }
    // The chosen notes of the whole period are repaired, copied and renumbered together: the
    // same rows and values as note by note, in a few statements. The list goes last, whole.
    CreaTablasDeTrabajo();
    if (elegidas_.isEmpty()) {
        // No notes, no list: an earlier run's list must not stand for this one.
        QFile::remove(archivoLista_);
        return resultado;
    }
    CompletaImpuestos(elegidas_);
    copiaYNumera(elegidas_, static_cast<qint32>(folioInicial));
    escribeLista();
    return resultado;
}

ResultadoDeTope ReimpresionConTope::eligeNotas(const QDate& desde, const QDate& hasta,
                                               qint64 folioInicial,
                                               const std::function<void()>& alAvanzar) {
    // One row per day, ascending; the period's total is the sum of the days', read as the
    // server's exact decimals.
    ResultadoDeTope resultado;
    Recordset rstVtas;
    BasesDD::AbrirTabla(rstVtas, cnn_,
                        condicionDelPeriodo(desde, hasta) +
                            QStringLiteral(" GROUP BY Fecha ORDER BY Fecha"),
                        QStringLiteral("Fecha,SUM(Subtotal+IVA+ImpuestoAd) AS Total"));
    totalPeriodo_ = Importe();
    for (; !rstVtas.fin(); rstVtas.siguiente()) {
        DiaDeTope dia;
        dia.fecha = rstVtas.campo(QStringLiteral("Fecha")).toDate();
        dia.totalReal = Importe::DeVariant(rstVtas.campo(QStringLiteral("Total")));
        totalPeriodo_ += dia.totalReal;
        resultado.dias.append(dia);
    }
    BasesDD::CierraTabla(rstVtas);
    folio_ = folioInicial;
    elegidas_.clear();
    lista_.clear();
    for (DiaDeTope& dia : resultado.dias) {
        dia.aImprimir = DelDia(dia.fecha, dia.totalReal, dia.remisiones, dia.numeros);
        ++folio_;
        resultado.real += dia.totalReal;
        resultado.impreso += dia.aImprimir;
        resultado.remisiones += dia.remisiones;
        if (alAvanzar) {
            alAvanzar();
        }
    }
    return resultado;
}

void ReimpresionConTope::escribeLista() const {
    EscritorDeArchivo::Escribe(archivoLista_, lista_);
}

Importe ReimpresionConTope::DelDia(const QDate& fecha, Importe totalDia, int& inTickets,
                                   QString& stTickets) {
    inTickets = 0;
    Importe suma;
    stTickets = QStringLiteral("Del ") + QString::number(folio_);
    // The day's notes are read in Id order a block at a time, so a day whose share is passed
    // early does not bring all its notes over.
    constexpr int kBloque = 500;
    bool pasada = false;
    qint32 ultimo = std::numeric_limits<qint32>::min();
    for (int leidas = kBloque; !pasada && leidas == kBloque;) {
        Recordset notas;
        BasesDD::AbrirTabla(
            notas, cnn_,
            QStringLiteral("remisiones WHERE Cancelada=0 AND Serie=") + Sentencias::Texto(serie_) +
                QStringLiteral(" AND Fecha='") + libKwtm::FechaSQL(fecha) +
                QStringLiteral("' AND Id>%1 ORDER BY Id LIMIT %2").arg(ultimo).arg(kBloque),
            QStringLiteral("Id,(Subtotal+IVA+ImpuestoAd) AS Total,Serie"));
        for (leidas = 0; !notas.fin() && !pasada; notas.siguiente(), ++leidas) {
            ultimo = notas.campo(QStringLiteral("Id")).toInt();
            lista_ +=
                Windows1252::codifica(QString::number(ultimo) + QLatin1Char(',') +
                                      campoCitado(notas.campo(QStringLiteral("Serie")).toString()) +
                                      QLatin1Char(',') + QString::number(folio_)) +
                "\r\n";
            elegidas_ << ultimo;
            suma += Importe::DeVariant(notas.campo(QStringLiteral("Total")));
            ++inTickets;
            ++folio_;
            pasada = PasaLaAsignacion(suma, totalDia, tope_, totalPeriodo_);
        }
    }
    --folio_;
    stTickets += QStringLiteral(" al ") + QString::number(folio_);
    return suma;
}

void ReimpresionConTope::CompletaImpuestos(const QList<qint32>& ids) {
    // The four repairs in their order for each batch of notes: a batch's lines are done before
    // the next batch is touched, as note by note.
    for (const QString& lista : ListasDeValores::Lotes(ids)) {
        const QString donde = QStringLiteral("WHERE Id IN (") + lista + QLatin1Char(')');
        cnn_.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET BaseImpuestoAd=TRUNCATE(Cantidad "
                                    "* PrecioNeto, 2) ") +
                     donde + QStringLiteral(" AND ImpuestoAd>0 AND BaseImpuestoAd=0"));
        cnn_.ejecuta(
            QStringLiteral("UPDATE remisionesdetalle SET "
                           "ImporteImpuestoAd=TRUNCATE(BaseImpuestoAd * ImpuestoAd / 100, 2) ") +
            donde + QStringLiteral(" AND ImpuestoAd>0 AND ImporteImpuestoAd=0"));
        cnn_.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET BaseIVA=TRUNCATE(Cantidad * "
                                    "PrecioNeto + ImporteImpuestoAd, 2) ") +
                     donde + QStringLiteral(" AND IVA>0 AND BaseIVA=0"));
        cnn_.ejecuta(
            QStringLiteral(
                "UPDATE remisionesdetalle SET ImporteIVA=TRUNCATE(BaseIVA * IVA / 100, 2) ") +
            donde + QStringLiteral(" AND IVA>0 AND ImporteIVA=0"));
    }
}

void ReimpresionConTope::copiaYNumera(const QList<qint32>& ids, qint32 primerFolio) {
    for (const QString& lista : ListasDeValores::Lotes(ids)) {
        cnn_.ejecuta(
            QStringLiteral("INSERT INTO tmpremisiones SELECT * FROM remisiones WHERE Id IN (") +
            lista + QStringLiteral(") ORDER BY Id"));
    }
    // The lines of exactly the notes copied.
    cnn_.ejecuta(QStringLiteral("INSERT INTO tmpremisionesdetalle SELECT d.* FROM "
                                "remisionesdetalle d JOIN tmpremisiones t ON t.Id=d.Id ORDER BY "
                                "d.Id, d.Partida"));
    // Folios run over the days in date order and within a day in Id order: a counter in a
    // session variable, advanced row by row in that order.
    cnn_.ejecuta(QStringLiteral("SET @folio=%1").arg(primerFolio - 1));
    cnn_.ejecuta(
        QStringLiteral("UPDATE tmpremisiones SET Factura=(@folio:=@folio+1) ORDER BY Fecha, Id"));
}

QString ReimpresionConTope::Parametros(const QDate& desde, const QDate& hasta, const QString& serie,
                                       Importe tope, qint64 folioInicial) {
    return QStringLiteral("del %1 al %2, serie '%3', tope %4, folio %5")
        .arg(libKwtm::TextoDeFecha(desde), libKwtm::TextoDeFecha(hasta), serie,
             Formato::Numero(tope.ADouble(), QStringLiteral("#,0.00")))
        .arg(folioInicial);
}

QString ReimpresionConTope::Resumen(const ResultadoDeTope& resultado) {
    return QStringLiteral("%1 remisiones elegidas en %2 días; a imprimir %3 de %4")
        .arg(resultado.remisiones)
        .arg(resultado.dias.size())
        .arg(Formato::Numero(resultado.impreso.ADouble(), QStringLiteral("#,0.00")),
             Formato::Numero(resultado.real.ADouble(), QStringLiteral("#,0.00")));
}

void ReimpresionConTope::GeneraListaGlobal(const QString& archivoLista,
                                           const QString& archivoBandera) {
    QFile origen(archivoLista);
    if (!origen.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(53, origen.errorString(), archivoLista);
    }
    const QByteArray texto = origen.readAll();
    QByteArray copia;
    qsizetype inicio = 0;
    while (inicio < texto.size()) {
        qsizetype fin = inicio;
        while (fin < texto.size() && texto[fin] != '\r' && texto[fin] != '\n') {
            ++fin;
        }
        copia += texto.mid(inicio, fin - inicio) + "\r\n";
        if (fin + 1 < texto.size() && texto[fin] == '\r' && texto[fin + 1] == '\n') {
            ++fin;
        }
        inicio = fin + 1;
    }
    EscritorDeArchivo::Escribe(archivoBandera, copia);
}

void ReimpresionConTope::LimpiaBanderas(const QString& archivoBandera) {
    if (DeArchivos::HayArchivo(archivoBandera)) {
        DeArchivos::BorraArchivo(archivoBandera);
    }
}
