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
    // An image written that cannot be read stops it: ErrorDeReporte naming the image.
    static QStringList Extrae(Conexion& conexion, const QString& archivoPlantilla,
                              const QString& tabla);
    // Throws ErrorDeReporte 20515 naming the image when the file cannot be read as an image.
    static void Revisa(const QString& ruta, const QString& nombre);
    // Why the file cannot be read as an image; empty when it can.
    static QString Ilegible(const QString& ruta);
};
