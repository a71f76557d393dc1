#include "hostdata/Proceso.h"

#include <QCoreApplication>
#include <QDir>

Proceso& Proceso::actual() {
    static Proceso proceso;
    return proceso;
}

QString Proceso::CarpetaDelPrograma() {
    const QString carpeta = qEnvironmentVariable("DEREMISIONES_CARPETA");
    return QDir::cleanPath(carpeta.isEmpty() ? QCoreApplication::applicationDirPath() : carpeta);
}
