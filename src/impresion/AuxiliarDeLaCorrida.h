#pragma once

#include "orvlib/Conexion.h"

#include <QString>
#include <QStringList>
#include <functional>

// The auxiliary database of a print run: one file made at the start of the run from the stored
// template, with the company's row in Generales, and emptied of the rows of a note before the
// next one, so each note reads what a fresh copy would give it. Removed when the run ends.
class AuxiliarDeLaCorrida {
public:
    // Throws ErrorOrvlib with the cause when the file cannot be made or opened.
    explicit AuxiliarDeLaCorrida(Conexion& host);
    ~AuxiliarDeLaCorrida();
    AuxiliarDeLaCorrida(const AuxiliarDeLaCorrida&) = delete;
    AuxiliarDeLaCorrida& operator=(const AuxiliarDeLaCorrida&) = delete;

    const QString& Ruta() const { return ruta_; }
    // Deletes the rows of every table but Generales.
    void Vacia();
    // Empties the file and writes a note's rows in one transaction: one write to the file a
    // note, and after a failure the rows of none.
    void Llena(const std::function<void()>& filas);
    // The connection a note's rows are written through: the run's own, open for the whole run,
    // when the file is that of the run in progress, else propia opened on the file. Throws
    // ErrorOrvlib 3024 when it cannot be opened.
    static Conexion& Abre(const QString& ruta, Conexion& propia);

private:
    static inline AuxiliarDeLaCorrida* enCurso_ = nullptr;

    QString ruta_;
    Conexion cnn_;
    QStringList tablas_;
};
