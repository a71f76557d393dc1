#include "trabajos/factura/RastrosDeFactura.h"

#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>

namespace {

// Invoices made by this program carry this creation mode.
constexpr int kModoDeCreacion = 16;

// The condition that leaves out invoices cancelled in the host, where its invoices have a
// column for it; a store whose facturas lacks it is asked once per look and cancels none.
QString sinLasCanceladas(Conexion& cnn) {
    QSqlQuery q = cnn.consulta(QStringLiteral("SHOW COLUMNS FROM facturas LIKE 'Cancelada'"));
    return q.next() ? QStringLiteral(" AND Cancelada=0") : QString();
}

} // namespace

RastrosDeFactura::RastrosDeFactura(Conexion& cnn, QString baseResguardo, QString seleccion)
    : cnn_(cnn)
    , resguardo_(std::move(baseResguardo))
    , seleccion_(std::move(seleccion)) {}

void RastrosDeFactura::Busca(bool notas, bool encabezados) {
    idsDeNotas_.clear();
    notas_.clear();
    encabezados_.clear();
    if (notas) {
        buscaNotas();
    }
    if (encabezados) {
        buscaEncabezados();
    }
}

void RastrosDeFactura::buscaNotas() {
    // A note is copied to the archive only as its invoice is made, and cancelled in the same
    // run: where the archive keeps what a stopped invoice wrote, an archived copy of a note
    // still open in the host is that invoice (or a note re-opened since: the text says how to
    // remove its copy).
    // The selection, when given, leads the join: a few notes looked up in a large archive.
    const QString desde =
        seleccion_.isEmpty() ? QStringLiteral("%1.remisiones a").arg(Sentencias::Nombre(resguardo_))
                             : QStringLiteral("%1 t JOIN %2.remisiones a ON a.Id=t.Id")
                                   .arg(seleccion_, Sentencias::Nombre(resguardo_));
    const QString sentencia =
        QStringLiteral("SELECT r.Id, r.Serie, r.Factura FROM %1 JOIN remisiones r ON r.Id=a.Id "
                       "WHERE r.Cancelada=0 AND r.Facturada=0")
            .arg(desde);
    QSqlQuery q = cnn_.consulta(sentencia + QStringLiteral(" ORDER BY r.Id"));
    while (q.next()) {
        idsDeNotas_ << q.value(0).toString();
        notas_ << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
    }
}

void RastrosDeFactura::buscaEncabezados() {
    // The latest headers only: each stopped invoice is the newest one when it stops, and an
    // older one already had its notes or was dealt with. One cancelled in the host (its notes
    // re-opened) finished and was undone: no trace.
    QSqlQuery q = cnn_.consulta(
        QStringLiteral("SELECT f.Id, f.Serie, f.Factura, (SELECT COUNT(*) FROM facturasdetalle d "
                       "WHERE d.Id=f.Id) FROM (SELECT Id, Serie, Factura FROM facturas WHERE "
                       "ModoCreacion=%1%2 ORDER BY Id DESC LIMIT %3) f WHERE NOT EXISTS "
                       "(SELECT 1 FROM remisiones r WHERE r.Facturada=f.Id) ORDER BY f.Id")
            .arg(kModoDeCreacion)
            .arg(sinLasCanceladas(cnn_))
            .arg(kEncabezados));
    while (q.next()) {
        encabezados_.append({q.value(0).toLongLong(), q.value(1).toString() + q.value(2).toString(),
                             q.value(3).toInt()});
    }
}

QString RastrosDeFactura::Texto() const {
    if (Vacios()) {
        return {};
    }
    QStringList halladas;
    for (const Encabezado& e : encabezados_) {
        halladas << (e.partidas == 0
                         ? QStringLiteral("- la factura %1 (Id %2), sin partidas")
                               .arg(e.folio, QString::number(e.id))
                         : QStringLiteral("- la factura %1 (Id %2), con %3 partidas, sin "
                                          "remisiones canceladas a su nombre")
                               .arg(e.folio, QString::number(e.id), QString::number(e.partidas)));
    }
    if (!notas_.isEmpty()) {
        halladas << (notas_.size() == 1
                         ? QStringLiteral("- 1 remisión copiada en %1 que sigue sin cancelar: %2")
                               .arg(resguardo_, notas_.first())
                         : QStringLiteral("- %1 remisiones copiadas en %2 que siguen sin "
                                          "cancelar: %3")
                               .arg(QString::number(notas_.size()), resguardo_,
                                    notas_.join(QStringLiteral(", "))));
    }
    return QStringLiteral("Una factura por remisiones anterior no se terminó de generar y dejó:\r\n"
                          "%1\r\n%2")
        .arg(halladas.join(QStringLiteral("\r\n")), comoDeshacer());
}

QString RastrosDeFactura::comoDeshacer() const {
    QStringList pasos;
    for (const Encabezado& e : encabezados_) {
        pasos << QStringLiteral("DELETE FROM facturasdetalle WHERE Id=%1; DELETE FROM facturas "
                                "WHERE Id=%1;")
                     .arg(e.id);
    }
    if (!idsDeNotas_.isEmpty()) {
        const QString ids = idsDeNotas_.join(QLatin1Char(','));
        const QString resguardo = Sentencias::Nombre(resguardo_);
        pasos << QStringLiteral("DELETE FROM %1.remisionesdetalle WHERE Id IN (%2); DELETE FROM "
                                "%1.remisiones WHERE Id IN (%2);")
                     .arg(resguardo, ids);
    }
    return QStringLiteral(
               "No se generó otra factura. Para deshacer lo que quedó y volver a generarla, "
               "borre esos datos (en Orvane, o con estas sentencias):\r\n%1\r\nPara terminarla a "
               "mano en su lugar, vea en el manual \"Una factura que no se terminó\".")
        .arg(pasos.join(QStringLiteral("\r\n")));
}
