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
    // Why a template source looks cut short (its last line does not end); empty when whole.
    static QString FuenteCortada(const QByteArray& fuente);
    // What is stored for a source. Throws ErrorOrvlib for a file that cannot be read and
    // ErrorDeReporte for a template source with a fault.
    static QByteArray Contenido(const QString& ruta);
    // The problems of the templates among the files against the store as it will be once they
    // are all stored, each "NOMBRE, línea N: …"; empty when every template is sound. An image
    // not stored yet is no problem: it prints as a blank space until it is.
    static QStringList Revisa(Conexion& cnn, const QStringList& rutas);
    // Stores every file, replacing earlier ones of the same name; returns the names stored.
    // Stores nothing and throws ErrorDeReporte 20515 with the problems when Revisa finds any.
    static QStringList Guarda(Conexion& cnn, const QStringList& rutas);
    // The sources in a folder of shipped templates.
    static QStringList Fuentes(const QString& carpeta);
};
