#include "apoyo/CarpetaDePrueba.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/DelRegistro.h"
#include "servicios/TemporalDelProceso.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char* const kVariables[3] = {"DEREMISIONES_CARPETA", "XDG_CONFIG_HOME", "ODBCINI"};

// unixODBC reads the data sources file named by ODBCINI once per process, so every test of a
// process shares one such file and rewrites its content.
QString archivoOdbcDelProceso() {
    static QTemporaryDir dir;
    return QDir(dir.path()).filePath(QStringLiteral("odbc.ini"));
}

} // namespace

CarpetaDePrueba::CarpetaDePrueba() {
    // DEREMISIONES_CONSERVA_PRUEBAS=1 keeps the folders (PDFs, lists) to look at after a run.
    if (qEnvironmentVariableIntValue("DEREMISIONES_CONSERVA_PRUEBAS") == 1) {
        dir_.setAutoRemove(false);
        std::fprintf(stderr, "carpeta de prueba: %s\n", qPrintable(dir_.path()));
    }
    QDir(dir_.path()).mkpath(QStringLiteral("programa"));
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    const QString valores[3] = {ruta(QStringLiteral("programa")), ruta(QStringLiteral("config")),
                                archivoOdbcDelProceso()};
    QFile::remove(archivoOdbcDelProceso());
    for (int i = 0; i < 3; ++i) {
        antes_[i] = qgetenv(kVariables[i]);
        qputenv(kVariables[i], valores[i].toUtf8());
    }
}

CarpetaDePrueba::~CarpetaDePrueba() {
    // The process's scratch folder lives in this program folder, which goes now.
    TemporalDelProceso::Suelta();
    for (int i = 0; i < 3; ++i) {
        if (antes_[i].isNull()) {
            qunsetenv(kVariables[i]);
        } else {
            qputenv(kVariables[i], antes_[i]);
        }
    }
}

QString CarpetaDePrueba::archivoOdbc() const {
    return archivoOdbcDelProceso();
}

QString CarpetaDePrueba::programa() const {
    return ruta(QStringLiteral("programa"));
}

QString CarpetaDePrueba::ruta(const QString& nombre) const {
    return QDir(dir_.path()).filePath(nombre);
}

void CarpetaDePrueba::registraInstalacion(const QString& carpetaHost) const {
    QDir().mkpath(QFileInfo(DelRegistro::ArchivoDeInstalaciones()).absolutePath());
    ArchivoIni ini(DelRegistro::ArchivoDeInstalaciones());
    ini.escribe(carpetaHost, QStringLiteral("servidor"),
                qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1")));
    ini.escribe(carpetaHost, QStringLiteral("MySQLPuerto"),
                qEnvironmentVariable("DEREMISIONES_MYSQL_PUERTO"));
}

void CarpetaDePrueba::registraOrigenesOdbc() const {
    escribe(archivoOdbc(),
            "[myodbc3-test]\nDriver=MariaDB Unicode\n[Orvane Reportes]\nDriver=MariaDB Unicode\n");
}

QByteArray CarpetaDePrueba::lee(const QString& ruta) {
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(ruta);
    return f.readAll();
}

void CarpetaDePrueba::escribe(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(ruta);
    f.write(bytes);
}
