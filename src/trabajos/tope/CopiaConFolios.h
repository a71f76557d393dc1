#pragma once

#include <QList>
#include <QString>

class Conexion;

// Copies chosen notes into the working tables tmpremisiones / tmpremisionesdetalle, each note
// under its new folio (the first folio for the first note of the list, and so on), with its
// lines.
class CopiaConFolios {
public:
    explicit CopiaConFolios(Conexion& cnn);

    void Copia(const QList<qint32>& ids, qint64 primerFolio);

    // The table of chosen notes and folios the copy joins, in the main database like the
    // working tables.
    static constexpr const char* kTablaDeFolios = "tmpfoliostope";

private:
    void llenaFolios(const QList<qint32>& ids, qint64 primerFolio);
    QString columnasConFolio();

    Conexion& cnn_;
};
