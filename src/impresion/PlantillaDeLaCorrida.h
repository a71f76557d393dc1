#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class Conexion;

// The template of a print run, made ready once before its first document: written out with its
// images into the process's scratch folder, read and checked against the store (every table,
// field, formula and image it names), the engine's data source connected, its tables listed and
// the printer the host's Orvane.ini names for it looked up. All of it is undone when the run
// ends, however it ends. A single document is a run of one.
class PlantillaDeLaCorrida {
public:
    // Throws ErrorOrvlib with the template's name and its problems, or the cause of a refused
    // connection; then nothing of the run is left.
    PlantillaDeLaCorrida(Conexion& host, const QString& archivoFormato);
    ~PlantillaDeLaCorrida();
    PlantillaDeLaCorrida(const PlantillaDeLaCorrida&) = delete;
    PlantillaDeLaCorrida& operator=(const PlantillaDeLaCorrida&) = delete;

    // The written-out file, its name in lower case.
    const QString& Ruta() const { return ruta_; }
    const QByteArray& Contenido() const { return contenido_; }
    // The template's table entries in order, and where its Generales entries are (element 0
    // unused), as modRPTs::TablasDelFormato lists them.
    const QStringList& Tablas() const { return tablas_; }
    const QVector<qint32>& PosicionesGenerales() const { return posiciones_; }
    // Driver, device and port of the printer named for a template starting "fmt"; empty when
    // none is named or installed.
    const std::array<QString, 3>& Impresora() const { return impresora_; }

private:
    void prepara(Conexion& host);
    void deshace();

    QString ruta_;
    QStringList imagenes_;
    QByteArray contenido_;
    QStringList tablas_;
    QVector<qint32> posiciones_;
    std::array<QString, 3> impresora_;
};
