#pragma once

#include <QByteArray>
#include <QString>

class Conexion;

// The auxiliary database of one print: a fresh copy of the Auxiliar.MDB template kept in
// reportesbin, with the company's row in Generales.

// A new file name with the extension MDB in the process's own scratch folder under the program
// folder's Temporal subfolder.
QString NombreAuxiliarTemporal();
// Makes the file at rutaAuxiliar a fresh copy of the template and writes the company row of
// the database the program works on. Every failing step is skipped: a print without company
// data is still a print.
void PreparaAuxiliar(const QString& rutaAuxiliar, const QString& desde, const QString& hasta);
// The same on a host connection already open.
void PreparaAuxiliar(Conexion& host, const QString& rutaAuxiliar, const QString& desde,
                     const QString& hasta);
// Writes the stored template of the auxiliary file at rutaAuxiliar. Throws ErrorOrvlib with the
// cause when it cannot.
void ExtraeAuxiliar(Conexion& host, const QString& rutaAuxiliar);
// Throws ErrorOrvlib, with what to do, when the extracted auxiliary file is damaged (SQLite finds
// it malformed); the file is removed.
void RevisaAuxiliar(const QString& ruta);
// Adds the company row of the database the program works on to Generales of the file, with the
// period text; skipped when the company or the file cannot be read.
void GuardaEmpresa(Conexion& host, const QString& rutaAuxiliar, const QString& periodo);
// The SQLite file that a schema script makes, for storing as the template.
QByteArray ConstruyeBaseAuxiliar(const QString& guion);
