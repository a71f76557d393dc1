#include "servicios/Proceso.h"

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
    // Every program of the package (deremisiones, plantillas) finds the same folder, whatever
    // its own name; it is made by the first write that needs it, not by asking where it is.
    return QDir::cleanPath(
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("deremisiones")));
}

QString Proceso::CarpetaDeDatosInstalados() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../share/deremisiones"));
}

bool Proceso::EsCopiaInstalada() {
    return QFileInfo(CarpetaDeDatosInstalados()).isDir();
}
