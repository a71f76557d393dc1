#pragma once

#include <QList>
#include <QStringList>

class Conexion;

// The size and colour rows of a block of notes in the host's partidatallaocolor table, where
// the template reads them: written together before the block's reports, from the references
// of the notes' lines, and removed together after them (quietly, when the block did not end).
class TallasDelBloque {
public:
    explicit TallasDelBloque(Conexion& host);
    ~TallasDelBloque();
    TallasDelBloque(const TallasDelBloque&) = delete;
    TallasDelBloque& operator=(const TallasDelBloque&) = delete;

    // Writes the rows of the notes' lines of that table that carry a reference, removing first
    // any row an earlier print left under the same notes.
    void Escribe(const QString& tablaDetalle, const QList<qint32>& ids);
    // Removes the rows written; ErrorOrvlib when the server does not.
    void Borra();

private:
    void borra(const QStringList& prefijos);
    void escribeReferencias(const QList<QPair<qint32, QString>>& lineas);

    Conexion& host_;
    QStringList prefijos_;
};
