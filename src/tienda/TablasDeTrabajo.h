#pragma once

#include <QMap>
#include <QString>

class Conexion;

// The reprint jobs' working tables tmpremisiones and tmpremisionesdetalle: structural copies of
// the host's remisiones and remisionesdetalle made by the server (CREATE TABLE … LIKE), so
// columns, their order, types, keys, engine and character set are the host's exactly.
class TablasDeTrabajo {
public:
    // Drops and re-creates both tables, empty.
    static void Crea(Conexion& cnn);
    static void Borra(Conexion& cnn);
    // The SELECT list that copies a row of a host table into a table of its structure: every
    // column in the table's order, taken from alias, or the expression given for it (keys in
    // lower case), so rows are copied whole whatever columns the host's table has.
    static QString Columnas(Conexion& cnn, const QString& tabla, const QString& alias,
                            const QMap<QString, QString>& expresiones);
};
