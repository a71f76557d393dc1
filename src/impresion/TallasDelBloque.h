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

    // Removes the rows a print of these working copies left behind (a run killed mid-block).
    void LimpiaRestos(const QString& tablaDetalle);
    // Writes the rows of the notes' lines of that table that carry a reference, removing first
    // any row an earlier print left under the same references.
    void Escribe(const QString& tablaDetalle, const QList<qint32>& ids);
    // Removes the rows written; ErrorOrvlib when the server does not.
    void Borra();

private:
    void borra(const QStringList& idsExternos);
    void escribeReferencias(const QStringList& idsExternos);

    Conexion& host_;
    QStringList escritas_;
};
