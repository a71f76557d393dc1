#pragma once

#include "orvlib/AlSalir.h"

#include <QList>
#include <QString>

class Conexion;

// The chosen notes with their new folios (the first folio for the first note of the list, and
// so on) in a table of the main database, which the checks, the repairs and the copies join
// so that each reads exactly those notes in one statement; the table goes with the object.
// Copia copies them into the working tables tmpremisiones / tmpremisionesdetalle under their
// folios, with their lines.
class CopiaConFolios {
public:
    CopiaConFolios(Conexion& cnn, const QList<qint32>& ids, qint64 primerFolio);

    // Refuses (Rechazo) the chosen note with the lowest Id that breaks the amounts' limits,
    // in its header or its lines.
    void Revisa();
    void Copia();

    // The table of chosen notes (Id) and folios (Folio).
    static constexpr const char* kTablaDeFolios = "tmpfoliostope";

private:
    void llenaFolios(const QList<qint32>& ids, qint64 primerFolio);
    QString columnasConFolio();

    Conexion& cnn_;
    AlSalir borra_;
};
