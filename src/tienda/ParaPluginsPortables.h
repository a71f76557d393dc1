#pragma once

#include <QString>

class BasesDD;
class DelRegistro;
class libKwtm;

// Settings routines that take every object they use as a parameter and touch no global.

// The key's value in the program's ini; an exactly empty value is replaced by the default,
// which is also written into the file.
QString LeeIniConDefault(const QString& seccion, const QString& clave, const QString& defecto,
                         libKwtm& kw, const QString& archivoIni);

// The registry object's lookup of the host folder, or "" when it fails in any way.
QString BuscaRegistroHost(const QString& carpetaHost, DelRegistro& registro);

// Reads the host folder from the ini, checks that it names a registered installation, completes
// the installation's MySQL settings and loads them into the bases object (and the main database
// name when asked). False, after telling the user, when the program cannot go on.
bool LeeConfiguracion(libKwtm& kw, DelRegistro& registro, BasesDD& bases, const QString& archivoIni,
                      bool leeBasePrincipal);

// Opens the program's ini with the desktop's editor; when the desktop cannot, tells the user to
// edit the file by hand, naming it.
void AbreConfiguracion(const QString& archivoIni);
