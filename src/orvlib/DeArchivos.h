#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QString>

// File services of the host library.
class DeArchivos : public ObjetoOrvlib {
public:
    static bool HayArchivo(const QString& ruta);
    // Throws ErrorOrvlib 75 when the file cannot be removed.
    static void BorraArchivo(const QString& ruta);
    // Opens the file with the program the desktop associates with it; false when the desktop
    // opener cannot be started.
    static bool AbreDocumento(const QString& ruta, int modo, int ventana);
    // The file name without its folders (either separator).
    static QString NombreDeArchivo(const QString& ruta);
    // Path of a new, empty file with that extension in the folder, which is created if missing.
    static QString ArchivoTemporal(const QString& carpeta, const QString& extension);
    static void CreaRuta(const QString& carpeta);
};
