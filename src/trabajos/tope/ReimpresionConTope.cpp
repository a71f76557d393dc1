#include "trabajos/tope/ReimpresionConTope.h"

#include "orvlib/Conexion.h"
#include "orvlib/DeArchivos.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/Formato.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"
#include "orvlib/Windows1252.h"
#include "orvlib/libKwtm.h"
#include "servicios/Rechazo.h"
#include "tienda/CifrasEnSql.h"
#include "tienda/LimitesDeImporte.h"
#include "tienda/ReglasDeImpuestos.h"
#include "tienda/TablasDeTrabajo.h"
#include "trabajos/tope/CopiaConFolios.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <utility>

namespace {

// Whether the three amounts a note's total adds up are whole numbers or decimals of four places
// or fewer in this store: their sums are then exact, and the server can send them as text,
// which the driver does not also read as a floating-point number.
bool importesDeCuatroDecimales(Conexion& cnn) {
    static const QRegularExpression exacto(
        QStringLiteral("^((tiny|small|medium|big)?int\\b|decimal\\(\\d+,[0-4]\\))"),
        QRegularExpression::CaseInsensitiveOption);
    QSqlQuery columnas = cnn.consulta(QStringLiteral("SHOW COLUMNS FROM remisiones"));
    int exactos = 0;
    while (columnas.next()) {
        const QString nombre = columnas.value(0).toString();
        if (nombre.compare(QLatin1String("Subtotal"), Qt::CaseInsensitive) == 0 ||
            nombre.compare(QLatin1String("IVA"), Qt::CaseInsensitive) == 0 ||
            nombre.compare(QLatin1String("ImpuestoAd"), Qt::CaseInsensitive) == 0) {
            exactos += exacto.match(columnas.value(1).toString()).hasMatch() ? 1 : 0;
        }
    }
    return exactos == 3;
}

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
    if (elegidas_.isEmpty()) {
        // No notes, no list: an earlier run's list must not stand for this one.
        CreaTablasDeTrabajo();
        QFile::remove(archivoLista_);
        return resultado;
    }
    // The chosen notes of the whole period are checked, repaired and copied under their
    // folios together, each step one statement joined with the table of their folios. Nothing
    // of the host's or of the last copies changes until they pass the amounts' limits; the
    // list goes last, whole.
    CopiaConFolios copia(cnn_, elegidas_, folioInicial);
    copia.Revisa();
    try {
        CreaTablasDeTrabajo();
        completaImpuestos();
        copia.Copia();
    } catch (...) {
        // The last copies are gone: their list must not outlive them.
        QFile::remove(archivoLista_);
        throw;
    }
    escribeLista();
    return resultado;
}

ResultadoDeTope ReimpresionConTope::eligeNotas(const QDate& desde, const QDate& hasta,
                                               qint64 folioInicial,
                                               const std::function<void()>& alAvanzar) {
    // Totals of four decimals or fewer add up here exactly as the server's SUM adds them; the
    // days of a store whose amounts are floating point or finer are summed by the server.
    ResultadoDeTope resultado = leeNotas(desde, hasta) ? diasDeLasNotas() : leeDias(desde, hasta);
    folio_ = folioInicial;
    elegidas_.clear();
    lista_.clear();
    siguiente_ = 0;
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
    notas_.clear();
    return resultado;
}

bool ReimpresionConTope::leeNotas(const QDate& desde, const QDate& hasta) {
    // The period's notes, read once in day and Id order: one statement for the whole period,
    // from which each day takes its own. Of a note not chosen only the total is used, so the
    // same read checks the three amounts it adds up; a chosen note is checked whole later.
    notas_.clear();
    bool exactas = true;
    bool fuera = false;
    const QString total = importesDeCuatroDecimales(cnn_)
                              ? QStringLiteral("CAST(Subtotal+IVA+ImpuestoAd AS CHAR)")
                              : QStringLiteral("(Subtotal+IVA+ImpuestoAd)");
    QSqlQuery notas =
        cnn_.consulta(QStringLiteral("SELECT Fecha,Id,%1 AS Total,Serie,%2 FROM ")
                          .arg(total, LimitesDeImporte::TotalFueraDeLimites()) +
                      condicionDelPeriodo(desde, hasta) + QStringLiteral(" ORDER BY Fecha,Id"));
    while (notas.next()) {
        if (notas.value(4).toBool()) {
            fuera = true;
            continue;
        }
        const QVariant total = notas.value(2);
        exactas = exactas && esExacto(total);
        notas_.append({notas.value(0).toDate(), notas.value(1).toInt(), Importe::DeVariant(total),
                       notas.value(3).toString()});
    }
    if (fuera) {
        // The check of those notes names the one with the lowest Id and the amount.
        LimitesDeImporte::Revisa(cnn_, condicionDelPeriodo(desde, hasta) + QStringLiteral(" AND ") +
                                           LimitesDeImporte::TotalFueraDeLimites());
        throw Rechazo(QStringLiteral("Una remisión del período cambió mientras se leía; vuelva a "
                                     "intentar. No se cambió nada."));
    }
    return exactas;
}

ResultadoDeTope ReimpresionConTope::diasDeLasNotas() {
    ResultadoDeTope resultado;
    totalPeriodo_ = Importe();
    for (const NotaDelPeriodo& nota : std::as_const(notas_)) {
        if (resultado.dias.isEmpty() || resultado.dias.last().fecha != nota.fecha) {
            resultado.dias.append(DiaDeTope{nota.fecha, {}, {}, 0, {}});
        }
        resultado.dias.last().totalReal += nota.total;
        totalPeriodo_ += nota.total;
    }
    return resultado;
}

bool ReimpresionConTope::esExacto(const QVariant& total) {
    if (total.typeId() == QMetaType::Double || total.typeId() == QMetaType::Float) {
        return false;
    }
    // Plain decimal digits, a sign and at most four decimals: no exponent, no finer fraction.
    const QString texto = total.toString();
    qsizetype punto = -1;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c == QLatin1Char('.') && punto < 0) {
            punto = i;
        } else if (!c.isDigit() && !(c == QLatin1Char('-') && i == 0)) {
            return false;
        }
    }
    return punto < 0 || texto.size() - punto - 1 <= 4;
}

ResultadoDeTope ReimpresionConTope::leeDias(const QDate& desde, const QDate& hasta) {
    // One row per day, ascending; the period's total is the sum of the days', read as the
    // server's exact decimals.
    ResultadoDeTope resultado;
    QSqlQuery dias = cnn_.consulta(QStringLiteral("SELECT Fecha,SUM(Subtotal+IVA+ImpuestoAd) AS "
                                                  "Total FROM ") +
                                   condicionDelPeriodo(desde, hasta) +
                                   QStringLiteral(" GROUP BY Fecha ORDER BY Fecha"));
    totalPeriodo_ = Importe();
    while (dias.next()) {
        DiaDeTope dia;
        dia.fecha = dias.value(0).toDate();
        dia.totalReal = Importe::DeVariant(dias.value(1));
        totalPeriodo_ += dia.totalReal;
        resultado.dias.append(dia);
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
    // The day's notes come next in the period's, in Id order; those after the one that passes
    // the day's share are skipped, and so are notes of a day the server's day totals did not
    // have (made by another workstation between the two reads).
    while (siguiente_ < notas_.size() && notas_[siguiente_].fecha < fecha) {
        ++siguiente_;
    }
    bool pasada = false;
    for (; siguiente_ < notas_.size() && notas_[siguiente_].fecha == fecha; ++siguiente_) {
        if (pasada) {
            continue;
        }
        const NotaDelPeriodo& nota = notas_[siguiente_];
        lista_ += Windows1252::codifica(QString::number(nota.id) + QLatin1Char(',') +
                                        campoCitado(nota.serie) + QLatin1Char(',') +
                                        QString::number(folio_)) +
                  "\r\n";
        elegidas_ << nota.id;
        suma += nota.total;
        ++inTickets;
        ++folio_;
        pasada = PasaLaAsignacion(suma, totalDia, tope_, totalPeriodo_);
    }
    --folio_;
    stTickets += QStringLiteral(" al ") + QString::number(folio_);
    return suma;
}

namespace {

// One column of a repair: filled with the value where its rate is above zero and it is 0.
QString siFalta(const QString& tasa, const QString& columna, const QString& valor) {
    return QStringLiteral("IF(%1>0 AND %2=0,%3,%2)").arg(tasa, columna, valor);
}

} // namespace

QString ReimpresionConTope::ReparacionDeImpuestos(CifrasDeLinea::Reglas reglas) {
    // Each column's expression reads the line d and its note r as they were: a column that
    // feeds another is written into it whole, not named. Each is also unchanged by a column
    // already filled (a filled column keeps its value), so the order in which the server
    // assigns a joined UPDATE's columns does not matter.
    const QString importe =
        CifrasEnSql::Importe(QStringLiteral("d.Cantidad"), QStringLiteral("d.PrecioNeto"));
    const QString producto = QStringLiteral("d.Producto");
    const QString neto = CifrasEnSql::Neto(importe, QStringLiteral("r"), producto);
    // The net amount is the other tax's stored base when that one holds it alone.
    const auto netoODe = [&](const QString& otraBase) {
        return CifrasEnSql::NetoConBase(importe, QStringLiteral("r"), producto, otraBase);
    };
    const auto suma = [](const QString& a, const QString& b) {
        return QStringLiteral("(%1)+(%2)").arg(a, b);
    };
    const QString iva = QStringLiteral("d.IVA");
    const QString impAd = QStringLiteral("d.ImpuestoAd");
    QString baseIva;
    QString importeIva;
    QString baseImpAd;
    QString importeImpAd;
    if (reglas.aplicaImpAd && !reglas.aplicaIva) {
        baseIva = siFalta(iva, QStringLiteral("d.BaseIVA"), neto);
        importeIva =
            siFalta(iva, QStringLiteral("d.ImporteIVA"), CifrasEnSql::Impuesto(baseIva, iva));
        baseImpAd =
            siFalta(impAd, QStringLiteral("d.BaseImpuestoAd"), suma(netoODe(baseIva), importeIva));
        importeImpAd = siFalta(impAd, QStringLiteral("d.ImporteImpuestoAd"),
                               CifrasEnSql::Impuesto(baseImpAd, impAd));
    } else {
        baseImpAd = siFalta(impAd, QStringLiteral("d.BaseImpuestoAd"),
                            reglas.aplicaIva ? neto : netoODe(QStringLiteral("d.BaseIVA")));
        importeImpAd = siFalta(impAd, QStringLiteral("d.ImporteImpuestoAd"),
                               CifrasEnSql::Impuesto(baseImpAd, impAd));
        baseIva =
            siFalta(iva, QStringLiteral("d.BaseIVA"),
                    reglas.aplicaIva ? suma(netoODe(baseImpAd), importeImpAd) : netoODe(baseImpAd));
        importeIva =
            siFalta(iva, QStringLiteral("d.ImporteIVA"), CifrasEnSql::Impuesto(baseIva, iva));
    }
    return QStringList{QStringLiteral("d.BaseImpuestoAd=") + baseImpAd,
                       QStringLiteral("d.ImporteImpuestoAd=") + importeImpAd,
                       QStringLiteral("d.BaseIVA=") + baseIva,
                       QStringLiteral("d.ImporteIVA=") + importeIva}
        .join(QLatin1Char(','));
}

void ReimpresionConTope::completaImpuestos() {
    // The four repairs of a line in one statement, its note's discounts joined once: each
    // tax's base feeds its amount and the amount that compounds feeds the other tax's base,
    // as four statements in that order would. Each column is filled only where its rate is
    // above zero and it is zero, in cents with halves away from zero, as the store's rule for
    // a line's figures says.
    const QString reparaciones = ReparacionDeImpuestos(ReglasDeImpuestos(cnn_));
    cnn_.ejecuta(QStringLiteral("UPDATE remisionesdetalle d JOIN %1 f ON f.Id=d.Id JOIN remisiones "
                                "r ON r.Id=d.Id SET ")
                     .arg(QString::fromLatin1(CopiaConFolios::kTablaDeFolios)) +
                 reparaciones +
                 QStringLiteral(" WHERE (d.ImpuestoAd>0 AND (d.BaseImpuestoAd=0 OR "
                                "d.ImporteImpuestoAd=0)) OR (d.IVA>0 AND (d.BaseIVA=0 OR "
                                "d.ImporteIVA=0))"));
}

QString ReimpresionConTope::Parametros(const QDate& desde, const QDate& hasta, const QString& serie,
                                       Importe tope, qint64 folioInicial) {
    return QStringLiteral("del %1 al %2, serie '%3', tope %4, folio %5")
        .arg(libKwtm::TextoDeFecha(desde), libKwtm::TextoDeFecha(hasta), serie,
             Formato::Dinero(tope.ADouble()))
        .arg(folioInicial);
}

QString ReimpresionConTope::Resumen(const ResultadoDeTope& resultado) {
    return QStringLiteral("%1 remisiones elegidas en %2 días; a imprimir %3 de %4")
        .arg(resultado.remisiones)
        .arg(resultado.dias.size())
        .arg(Formato::Dinero(resultado.impreso.ADouble()),
             Formato::Dinero(resultado.real.ADouble()));
}

void ReimpresionConTope::GeneraListaGlobal(const QString& archivoLista,
                                           const QString& archivoBandera) {
    QFile origen(archivoLista);
    if (!origen.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(NumerosDeError::kArchivoNoEncontrado, origen.errorString(), archivoLista);
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
