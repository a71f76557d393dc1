#pragma once

#include "impresion/DesgloseDeImpuestos.h"
#include "impresion/TallasDelBloque.h"

#include <QHash>
#include <QList>
#include <QString>

class Conexion;

// The notes of a print run taken a block at a time. On the first note of a block its lines
// are read in one statement, its size and colour rows are written to the host together (not
// for a preview, which keeps them in its own file; before the first block, what a killed print
// of these notes left there goes), and the report engine is told the block's
// selections so that it reads their rows together too; after the block's last note those rows
// go.
class BloquesDeLaCorrida {
public:
    static constexpr int kNotasPorBloque = 100;

    // The Ids of the notes the run prints, in print order, and the table of their lines.
    BloquesDeLaCorrida(Conexion& cnn, const QList<qint32>& ids, const QString& tablaDetalle);

    // Before a note is printed: sets its block up when it starts one.
    void Antes(qint32 id);
    // After a note came out: the block's size and colour rows go after its last note.
    void Despues(qint32 id);
    // The note's lines, read with its block; null for a note of no block.
    const QVector<LineaImpresa>* Lineas(qint32 id) const;
    // Whether the block wrote the note's size and colour rows.
    bool ConTallas(qint32 id) const { return conTallas_ && lineas_.contains(id); }

    // The record selection that prints the note.
    static QString SeleccionDe(qint32 id);

private:
    Conexion& cnn_;
    QList<qint32> ids_;
    QHash<qint32, int> posiciones_;
    QString tablaDetalle_;
    QHash<qint32, QVector<LineaImpresa>> lineas_;
    qint32 ultima_ = 0;
    bool conTallas_ = false;
    bool limpia_ = false; // the rows an earlier, killed print left were removed
    TallasDelBloque tallas_;
};
