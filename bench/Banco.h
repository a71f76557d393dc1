#pragma once

#include "orvlib/Conexion.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A program folder, data sources and a store of the given size in the database "banco".
class Banco {
public:
    Banco(int dias, int notas, int partidas);
    ~Banco();

    QString carpeta(const QString& nombre) const { return carpeta_.filePath(nombre); }

    // Time to copy the notes of a condition and their lines with one INSERT … SELECT each, once
    // (the tables it copies into made anew beforehand, not timed).
    double cota(const QString& condicion);

    qint64 sentencias();

    Conexion cnn;

private:
    QTemporaryDir dir_;
    QDir carpeta_{dir_.path()};
};
