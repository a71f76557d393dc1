#include "orvlib/DelRegistro.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/ErrorOrvlib.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kClaveOdbc = QStringLiteral("software\\odbc\\odbc.ini\\");

QString carpetaDeConfiguracion() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::home().filePath(QStringLiteral(".config")) : xdg;
}

} // namespace

QString DelRegistro::ArchivoDeInstalaciones() {
    return QDir(carpetaDeConfiguracion()).filePath(QStringLiteral("Orvane/instalaciones.ini"));
}

QString DelRegistro::ArchivoDeOrigenesOdbc() {
    const QString odbcini = qEnvironmentVariable("ODBCINI");
    return odbcini.isEmpty() ? QDir::home().filePath(QStringLiteral(".odbc.ini")) : odbcini;
}

QString DelRegistro::BuscarRegistroTrq(const QString& carpetaHost) {
    instalacion_.clear();
    if (!carpetaHost.trimmed().isEmpty() &&
        ArchivoIni(ArchivoDeInstalaciones()).tieneSeccion(carpetaHost)) {
        instalacion_ = carpetaHost;
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
        throw ErrorOrvlib(5, QStringLiteral("No se ha buscado la instalación"), nombre);
    }
    ArchivoIni(ArchivoDeInstalaciones()).escribe(instalacion_, nombre, valor);
}

void DelRegistro::GrabarCadena(const QString& clave, const QString& nombre, const QString& valor) {
    if (!clave.toLower().startsWith(kClaveOdbc)) {
        throw ErrorOrvlib(5, QStringLiteral("Clave del registro no disponible en este sistema"),
                          clave);
    }
    const QString archivo = ArchivoDeOrigenesOdbc();
    QDir().mkpath(QFileInfo(archivo).absolutePath());
    // The data sources carry the store's password: the file is the account's alone.
    ArchivoIni::HazPrivado(archivo);
    ArchivoIni(archivo, ArchivoIni::Estilo::Unix, ArchivoIni::Acceso::Privado)
        .escribe(clave.mid(kClaveOdbc.size()), nombre, valor);
}
