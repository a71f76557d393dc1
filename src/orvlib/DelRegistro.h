#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QString>

// The host installation's registered settings and the registry strings the program writes.
// Installations live in Orvane/instalaciones.ini of the user's configuration folder, one
// section per host folder; ODBC data source keys go to unixODBC's per-user file.
class DelRegistro : public ObjetoOrvlib {
public:
    // The installation registered for that host folder ("" when there is none): a section
    // named exactly as the folder, a final separator aside; later calls of DatosTrq and
    // GuardaDatosTrq read and write its values. The file is private to its owner.
    QString BuscarRegistroTrq(const QString& carpetaHost);
    QString DatosTrq(const QString& nombre) const;
    void GuardaDatosTrq(const QString& nombre, const QString& valor);
    // Writes a string under a registry key; "Software\ODBC\ODBC.INI\<name>" is the data source
    // of that name.
    void GrabarCadena(const QString& clave, const QString& nombre, const QString& valor);

    static QString ArchivoDeInstalaciones();
    // $ODBCINI, else .odbc.ini in the account's home directory, as unixODBC reads it.
    static QString ArchivoDeOrigenesOdbc();

private:
    QString instalacion_;
};
