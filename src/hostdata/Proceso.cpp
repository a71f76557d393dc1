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
    if (QFileInfo(ejecutable).isWritable()) {
        return QDir::cleanPath(ejecutable);
    }
    // Installed under a read-only prefix (/usr/bin): the user's own data folder holds the files.
    const QString propia = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(propia);
    return QDir::cleanPath(propia);
}
