#include "orvlib/DelRegistro.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

const QString kClaveOdbc = QStringLiteral("software\\odbc\\odbc.ini\\");

QString carpetaDeConfiguracion() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::home().filePath(QStringLiteral(".config")) : xdg;
}

// The account's own home, as unixODBC finds the user's data sources: $HOME may say otherwise
// (a service, su without -), and then the data sources the program writes would never be read.
QString carpetaDeLaCuenta() {
#ifdef Q_OS_UNIX
    if (const passwd* cuenta = ::getpwuid(::getuid()); cuenta != nullptr && cuenta->pw_dir) {
        return QFile::decodeName(cuenta->pw_dir);
    }
#endif
    return QDir::homePath();
}

QString sinSeparadorFinal(QString carpeta) {
    while (carpeta.size() > 1 &&
           (carpeta.endsWith(QLatin1Char('/')) || carpeta.endsWith(QLatin1Char('\\')))) {
        carpeta.chop(1);
    }
    return carpeta;
}

} // namespace

QString DelRegistro::ArchivoDeInstalaciones() {
    return QDir(carpetaDeConfiguracion()).filePath(QStringLiteral("Orvane/instalaciones.ini"));
}

QString DelRegistro::ArchivoDeOrigenesOdbc() {
    const QString odbcini = qEnvironmentVariable("ODBCINI");
    return odbcini.isEmpty() ? QDir(carpetaDeLaCuenta()).filePath(QStringLiteral(".odbc.ini"))
                             : odbcini;
}

QString DelRegistro::BuscarRegistroTrq(const QString& carpetaHost) {
    instalacion_.clear();
    if (carpetaHost.trimmed().isEmpty()) {
        return instalacion_;
    }
    // The same folder written with or without a final separator is the same installation.
    const QString base = sinSeparadorFinal(carpetaHost);
    const ArchivoIni instalaciones(ArchivoDeInstalaciones());
    for (const QString& nombre :
         {carpetaHost, base, base + QLatin1Char('/'), base + QLatin1Char('\\')}) {
        if (instalaciones.tieneSeccion(nombre)) {
            instalacion_ = nombre;
            break;
        }
    }
    return instalacion_;
}

QString DelRegistro::DatosTrq(const QString& nombre) const {
    if (instalacion_.isEmpty()) {
        return {};
    }
    return ArchivoIni(ArchivoDeInstalaciones()).lee(instalacion_, nombre);
}

void DelRegistro::GuardaDatosTrq(const QString& nombre, const QString& valor) {
    if (instalacion_.isEmpty()) {
        throw ErrorOrvlib(NumerosDeError::kEstadoInvalido,
                          QStringLiteral("No se ha buscado la instalación"), nombre);
    }
    // The installation's user and password live here, obfuscated only.
    ArchivoIni::HazPrivado(ArchivoDeInstalaciones());
    ArchivoIni(ArchivoDeInstalaciones(), ArchivoIni::Estilo::Windows, ArchivoIni::Acceso::Privado)
        .escribe(instalacion_, nombre, valor);
}

void DelRegistro::GrabarCadena(const QString& clave, const QString& nombre, const QString& valor) {
    if (!clave.toLower().startsWith(kClaveOdbc)) {
        throw ErrorOrvlib(NumerosDeError::kEstadoInvalido,
                          QStringLiteral("Clave del registro no disponible en este sistema"),
                          clave);
    }
    const QString archivo = ArchivoDeOrigenesOdbc();
    QDir().mkpath(QFileInfo(archivo).absolutePath());
    // The data sources carry the store's password: the file is the account's alone.
    ArchivoIni::HazPrivado(archivo);
    ArchivoIni(archivo, ArchivoIni::Estilo::Unix, ArchivoIni::Acceso::Privado)
        .escribe(clave.mid(kClaveOdbc.size()), nombre, valor);
}
