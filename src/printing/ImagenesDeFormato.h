#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// The images a report template places (PNG or JPEG files the store keeps beside it in
// reportesbin), written into the folder of the written-out template for the engine to read.
class ImagenesDeFormato {
public:
    // Writes the images the template file names that the table holds; one it lacks prints as a
    // blank space. A template that cannot be read gets none (the engine reports it). Returns
    // the files written, for the caller to remove with the template.
    static QStringList Extrae(Conexion& conexion, const QString& archivoPlantilla,
                              const QString& tabla);
};
