#include "printing/ImagenesDeFormato.h"

#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"

#include <QDir>
#include <QFileInfo>

namespace {

QStringList imagenesDe(const QString& archivoPlantilla) {
    try {
        return ArchivoDePlantilla::LeeArchivo(archivoPlantilla).imagenes();
    } catch (const ErrorDeReporte&) {
        return {};
    }
}

} // namespace

QStringList ImagenesDeFormato::Extrae(Conexion& conexion, const QString& archivoPlantilla,
                                      const QString& tabla) {
    const QString carpeta = QFileInfo(archivoPlantilla).absolutePath();
    CamposBin campos;
    campos.BaseDD = &conexion;
    campos.cTablaRpts = tabla;
    QStringList escritas;
    for (const QString& nombre : imagenesDe(archivoPlantilla)) {
        try {
            campos.ExtraeRPT(nombre, carpeta);
            escritas << QDir(carpeta).filePath(nombre);
        } catch (const ErrorOrvlib& e) {
            if (e.numero() != CamposBin::kNoGuardado) {
                throw;
            }
        }
    }
    return escritas;
}
