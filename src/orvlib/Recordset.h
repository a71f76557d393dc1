#pragma once

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

class Conexion;

// The rows of one selection, read forward, with the means to add a row to its table: set the
// fields of the new row, then store it.
class Recordset {
public:
    void abre(Conexion& cnn, const QString& tabla, const QString& sentencia);
    // Opens the table only to add rows to it: nothing is read.
    void abreParaAgregar(Conexion& cnn, const QString& tabla);
    void cierra();

    bool abierto() const { return cnn_ != nullptr; }
    bool fin() const;
    void siguiente();
    // Fields of the current row; a missing field throws.
    QVariant campo(const QString& nombre) const;
    // Rows of the selection.
    int cuenta() const;

    void agrega();
    void asigna(const QString& campo, const QVariant& valor);
    void guarda();

private:
    Conexion* cnn_ = nullptr;
    QString tabla_;
    QString sentencia_;
    QSqlQuery q_;
    QSqlRecord registro_; // the selection's fields, taken once: each look-up by name uses them
    std::vector<std::pair<QString, QVariant>> nuevo_;
    bool agregando_ = false;
};
