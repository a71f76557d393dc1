#include "printing/ImagenesDeFormato.h"

#include "orvlib/CamposBin.h"
#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"

#include <QDir>
#include <QFile>
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
        QSqlQuery q = conexion.consulta(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Archivo=?")
                                            .arg(Sentencias::Nombre(tabla)),
                                        {nombre});
        if (q.next() && q.value(0).toInt() > 0) {
            campos.ExtraeRPT(nombre, carpeta);
            escritas << QDir(carpeta).filePath(nombre);
        }
    }
    return escritas;
}

void ImagenesDeFormato::Borra(const QString& archivoPlantilla) {
    const QDir carpeta = QFileInfo(archivoPlantilla).absoluteDir();
    for (const QString& nombre : imagenesDe(archivoPlantilla)) {
        QFile::remove(carpeta.filePath(nombre));
    }
}
