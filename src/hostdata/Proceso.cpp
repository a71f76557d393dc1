#include "hostdata/Proceso.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

Proceso& Proceso::actual() {
    static Proceso proceso;
    return proceso;
}

QString Proceso::CarpetaDelPrograma() {
    const QString carpeta = qEnvironmentVariable("DEREMISIONES_CARPETA");
    if (!carpeta.isEmpty()) {
        // Absolute: the start makes this folder the current one.
        return QDir(carpeta).absolutePath();
    }
    const QString ejecutable = QCoreApplication::applicationDirPath();
    if (!EsCopiaInstalada() && QFileInfo(ejecutable).isWritable()) {
        return QDir::cleanPath(ejecutable);
    }
    // An installed copy (/usr/bin) keeps its files in the user's own data folder, even when it
    // could write beside itself (root): the installation holds only what the package put there.
    const QString propia = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(propia);
    return QDir::cleanPath(propia);
}

QString Proceso::CarpetaDeDatosInstalados() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../share/deremisiones"));
}

bool Proceso::EsCopiaInstalada() {
    return QFileInfo(CarpetaDeDatosInstalados()).isDir();
}
