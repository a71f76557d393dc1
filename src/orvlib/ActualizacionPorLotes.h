#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// Writes computed values into existing rows of a table, many rows per statement: the rows'
// keys and values go into a scratch table beside it (TABLA_lote, of the same column types) by
// multi-row INSERTs, each far below the server's packet limit, and one UPDATE joined to it
// writes them, so only the columns given change and no row is ever inserted into the table
// itself. A plain table rather than a temporary one: the store's user has CREATE and DROP, not
// always CREATE TEMPORARY TABLES. Whoever writes the table must be its only writer (the reprint
// lock).
class ActualizacionPorLotes {
public:
    // claves name the columns that find a row; columnas those that get the values.
    ActualizacionPorLotes(Conexion& cnn, const QString& tabla, const QStringList& claves,
                          const QStringList& columnas);
    ~ActualizacionPorLotes();
    ActualizacionPorLotes(const ActualizacionPorLotes&) = delete;
    ActualizacionPorLotes& operator=(const ActualizacionPorLotes&) = delete;

    // One row: the keys' literals, then the columns', in the order given (numbers, or texts
    // through Sentencias).
    void Agrega(const QStringList& literales);
    // Writes every row given; must be called for them to be written.
    void Termina();

    static constexpr int kPorLote = 1000;

private:
    void inserta();

    Conexion& cnn_;
    QString tabla_;
    QString temporal_;
    QStringList claves_;
    QStringList columnas_;
    QStringList filas_;
};
