#include "trabajos/tope/CopiaConFolios.h"

#include "orvlib/Conexion.h"
#include "orvlib/ListasDeValores.h"
#include "tienda/LimitesDeImporte.h"
#include "tienda/TablasDeTrabajo.h"

#include <QStringList>

namespace {

QString tabla() {
    return QString::fromLatin1(CopiaConFolios::kTablaDeFolios);
}

} // namespace

CopiaConFolios::CopiaConFolios(Conexion& cnn, const QList<qint32>& ids, qint64 primerFolio)
    : cnn_(cnn)
    , borra_([this] { cnn_.ejecuta(QStringLiteral("DROP TABLE IF EXISTS ") + tabla()); }) {
    cnn_.ejecuta(QStringLiteral("DROP TABLE IF EXISTS ") + tabla());
    // The server's default engine: a MEMORY table would be full past max_heap_table_size
    // (16 MB by default), some 300,000 notes.
    cnn_.ejecuta(QStringLiteral("CREATE TABLE ") + tabla() +
                 QStringLiteral(" (Id INT NOT NULL PRIMARY KEY, Folio INT NOT NULL)"));
    llenaFolios(ids, primerFolio);
}

void CopiaConFolios::Revisa() {
    LimitesDeImporte::Revisa(
        cnn_, QStringLiteral("remisiones WHERE Id IN (SELECT Id FROM %1)").arg(tabla()));
}

void CopiaConFolios::Copia() {
    // The notes are copied already numbered, joined with the table of their folios: numbering
    // the copies afterwards rewrote every copy and its folio index, as long as the day totals.
    cnn_.ejecuta(QStringLiteral("INSERT INTO tmpremisiones SELECT ") + columnasConFolio() +
                 QStringLiteral(" FROM remisiones r JOIN ") + tabla() +
                 QStringLiteral(" f ON f.Id=r.Id ORDER BY r.Id"));
    // The lines of exactly the notes copied, in the order the join gives them: the copies are
    // read by note and line number, and sorting the lines first cost a third of the copy.
    cnn_.ejecuta(QStringLiteral("INSERT INTO tmpremisionesdetalle SELECT d.* FROM "
                                "remisionesdetalle d JOIN tmpremisiones t ON t.Id=d.Id"));
}

void CopiaConFolios::llenaFolios(const QList<qint32>& ids, qint64 primerFolio) {
    QStringList pares;
    pares.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i) {
        pares << QStringLiteral("(%1,%2)").arg(ids[i]).arg(primerFolio + i);
    }
    for (const QString& lista : ListasDeValores::Lotes(pares)) {
        cnn_.ejecuta(QStringLiteral("INSERT INTO ") + tabla() +
                     QStringLiteral(" (Id, Folio) VALUES ") + lista);
    }
}

QString CopiaConFolios::columnasConFolio() {
    // The host's columns in their order, each taken from the note but the folio.
    return TablasDeTrabajo::Columnas(cnn_, QStringLiteral("remisiones"), QStringLiteral("r"),
                                     {{QStringLiteral("factura"), QStringLiteral("f.Folio")}});
}
