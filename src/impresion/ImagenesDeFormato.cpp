#include "impresion/ImagenesDeFormato.h"

#include "impresion/ArchivoDeImagen.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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
            continue;
        }
        try {
            ImagenesDeFormato::Revisa(escritas.last(), nombre);
        } catch (const ErrorDeReporte&) {
            for (const QString& escrita : std::as_const(escritas)) {
                QFile::remove(escrita);
            }
            throw;
        }
    }
    return escritas;
}

void ImagenesDeFormato::Revisa(const QString& ruta, const QString& nombre) {
    // A missing image prints as a blank space; one that is there but cannot be read stops the
    // print, so a document never goes out without its logo unnoticed.
    if (const QString error = Ilegible(ruta); !error.isEmpty()) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("La imagen %1 guardada en reportesbin está dañada y "
                                            "no se puede leer (%2); guárdela de nuevo con "
                                            "«plantillas guarda %1» y vuelva a imprimir.")
                                 .arg(nombre, error));
    }
}

QString ImagenesDeFormato::Ilegible(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        return archivo.errorString();
    }
    // Whole first, so that the decoder never meets a damaged file; then decoded.
    if (const QString defecto = ArchivoDeImagen::Defecto(archivo.readAll()); !defecto.isEmpty()) {
        return defecto;
    }
    archivo.close();
    QImageReader lector(ruta);
    return lector.read().isNull() ? lector.errorString() : QString();
}
