#include "printing/AlmacenDePlantillas.h"

#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "printing/AuxiliarDeImpresion.h"
#include "reporteador/ArchivoDePlantilla.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFuente = QStringLiteral(".fuente");
const QString kEsquema = QStringLiteral(".sql");

} // namespace

QString AlmacenDePlantillas::NombreGuardado(const QString& ruta) {
    const QString nombre = QFileInfo(ruta).fileName();
    for (const QString& sufijo : {kFuente, kEsquema}) {
        if (nombre.endsWith(sufijo)) {
            return nombre.chopped(sufijo.size());
        }
    }
    return nombre;
}

QByteArray AlmacenDePlantillas::Contenido(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(53, archivo.errorString(), ruta);
    }
    const QByteArray bytes = archivo.readAll();
    if (ruta.endsWith(kFuente)) {
        return ArchivoDePlantilla::Construye(QString::fromUtf8(bytes));
    }
    return ruta.endsWith(kEsquema) ? ConstruyeBaseAuxiliar(QString::fromUtf8(bytes)) : bytes;
}

QStringList AlmacenDePlantillas::Guarda(Conexion& cnn, const QStringList& rutas) {
    CamposBin campos;
    campos.BaseDD = &cnn;
    QStringList guardados;
    for (const QString& ruta : rutas) {
        campos.GuardaRPT(NombreGuardado(ruta), Contenido(ruta));
        guardados << NombreGuardado(ruta);
    }
    return guardados;
}

QStringList AlmacenDePlantillas::Fuentes(const QString& carpeta) {
    QStringList rutas;
    for (const QFileInfo& info : QDir(carpeta).entryInfoList(QDir::Files, QDir::Name)) {
        rutas << info.absoluteFilePath();
    }
    return rutas;
}
