#pragma once

#include "apoyo/ImpresionQt.h"
#include "orvlib/BasesDD.h"
#include "orvlib/Conexion.h"

#include <QString>
#include <QVariant>

// A database of its own on the private server for one test, loaded with the stand-in host
// schema and dropped afterwards. The shared BasesDD of the process points at it. On the server
// that scripts/mariadb calls "estricto" (DEREMISIONES_TABLAS_HOST=MyISAM-latin1) the host
// tables are made MyISAM in latin1, as an old store has them, from the same schema.
class BaseDePrueba {
public:
    BaseDePrueba();
    ~BaseDePrueba();

    // Whether the host tables of this run are MyISAM in latin1.
    static bool TablasMyIsamLatin1();
    // The schema as this run makes it: engine and character set replaced when the tables are
    // MyISAM in latin1.
    static QString EsquemaDelHost(const QString& guion);
    // The character set of the test databases.
    static QString JuegoDeCaracteres();

    const QString& nombre() const { return nombre_; }
    BasesDD& bases();
    Conexion& conexion() { return cnn_; }

    void ejecuta(const QString& sentencia);
    // The first column of the first row, or an invalid value when there is no row.
    QVariant valor(const QString& sentencia);
    // What makes a table's structure: each column with its type, nullability, key, default and
    // extra, in order; each index with its columns; engine and collation.
    QStringList estructura(const QString& tabla);
    // Executes every statement of a file of the fixtures (separated by ";" at a line end).
    void cargaArchivo(const QString& ruta);

    // A database of the server that no test owns, made for the test and dropped with it.
    QString creaBaseAdicional(const QString& sufijo);

private:
    QString nombre_;
    QStringList adicionales_;
    Conexion cnn_;
};
