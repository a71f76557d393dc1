#pragma once

#include "impresion/FormatoDeLaCorrida.h"

#include <QString>
#include <QStringList>

class Conexion;

// The template of a print run, made ready once before its first document: written out with its
// images into the process's scratch folder, read and checked against the store (every table,
// field, formula and image it names), the engine's data source connected, its tables listed and
// the printer the host's Orvane.ini names for it looked up. All of it is undone when the run
// ends, however it ends. A single document is a run of one.
class PlantillaDeLaCorrida : public FormatoDeLaCorrida {
public:
    // Throws ErrorOrvlib with the template's name and its problems, or the cause of a refused
    // connection; then nothing of the run is left.
    PlantillaDeLaCorrida(Conexion& host, const QString& archivoFormato);
    ~PlantillaDeLaCorrida();
    PlantillaDeLaCorrida(const PlantillaDeLaCorrida&) = delete;
    PlantillaDeLaCorrida& operator=(const PlantillaDeLaCorrida&) = delete;

private:
    void prepara(Conexion& host);
    void deshace();

    QStringList imagenes_;
};
