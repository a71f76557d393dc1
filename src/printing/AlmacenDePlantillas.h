#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class Conexion;

// The files a store keeps in reportesbin for printing, made from their sources: a template
// source NOMBRE.rpt.fuente is stored built as NOMBRE.rpt, a schema NOMBRE.sql as the SQLite
// file NOMBRE it makes (Auxiliar.MDB.sql as Auxiliar.MDB), any other file (an image) as it is.
class AlmacenDePlantillas {
public:
    // The name a source is stored under.
    static QString NombreGuardado(const QString& ruta);
    // What is stored for a source. Throws ErrorOrvlib for a file that cannot be read and
    // ErrorDeReporte for a template source with a fault.
    static QByteArray Contenido(const QString& ruta);
    // Stores every file, replacing earlier ones of the same name; returns the names stored.
    static QStringList Guarda(Conexion& cnn, const QStringList& rutas);
    // The sources in a folder of shipped templates.
    static QStringList Fuentes(const QString& carpeta);
};
