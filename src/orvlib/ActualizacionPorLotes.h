#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// Writes computed values into existing rows of a table, many rows per statement: each batch
// is one UPDATE joined to a derived table of the rows' keys and values, so only the columns
// given change (no row is ever inserted) and the statement stays far below the server's packet
// limit. Values are SQL literals the caller makes (numbers, or texts through Sentencias).
class ActualizacionPorLotes {
public:
    // claves name the columns that find a row; columnas those that get the values.
    ActualizacionPorLotes(Conexion& cnn, const QString& tabla, const QStringList& claves,
                          const QStringList& columnas);
    ~ActualizacionPorLotes() = default;
    ActualizacionPorLotes(const ActualizacionPorLotes&) = delete;
    ActualizacionPorLotes& operator=(const ActualizacionPorLotes&) = delete;

    // One row: the keys' literals, then the columns', in the order given. Full batches are
    // written as they fill.
    void Agrega(const QStringList& literales);
    // Writes what is left; must be called for the last rows to be written.
    void Termina();

    static constexpr int kPorLote = 500;

private:
    void escribe();

    Conexion& cnn_;
    QString tabla_;
    QStringList claves_;
    QStringList columnas_;
    QStringList filas_;
};
