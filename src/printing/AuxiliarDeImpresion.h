#pragma once

#include <QByteArray>
#include <QString>

// The auxiliary database of one print: a fresh copy of the Auxiliar.MDB template kept in
// reportesbin, with the company's row in Generales.

// A new file name with the extension MDB in the process's own scratch folder under the program
// folder's Temporal subfolder.
QString NombreAuxiliarTemporal();
// Makes the file at rutaAuxiliar a fresh copy of the template and writes the company row of
// the database the program works on. Every failing step is skipped: a print without company
// data is still a print.
void PreparaAuxiliar(const QString& rutaAuxiliar, const QString& desde, const QString& hasta);
// The SQLite file that a schema script makes, for storing as the template.
QByteArray ConstruyeBaseAuxiliar(const QString& guion);
