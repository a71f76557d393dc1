#include "impresion/AlmacenDePlantillas.h"

#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/CatalogoDeLaTienda.h"
#include "impresion/ImagenesDeFormato.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/RevisorDePlantilla.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFuente = QStringLiteral(".fuente");
const QString kEsquema = QStringLiteral(".sql");

// What each file is stored as, by the name it is stored under.
QHash<QString, QByteArray> contenidos(const QStringList& rutas) {
    QHash<QString, QByteArray> porNombre;
    for (const QString& ruta : rutas) {
        porNombre.insert(AlmacenDePlantillas::NombreGuardado(ruta),
                         AlmacenDePlantillas::Contenido(ruta));
    }
    return porNombre;
}

QStringList problemasDe(Conexion& cnn, const QStringList& rutas,
                        const QHash<QString, QByteArray>& porGuardar) {
    QStringList problemas;
    for (const QString& ruta : rutas) {
        if (!ruta.endsWith(kFuente)) {
            continue;
        }
        const QString nombre = AlmacenDePlantillas::NombreGuardado(ruta);
        const Plantilla p = ArchivoDePlantilla::Lee(porGuardar.value(nombre));
        for (const QString& problema :
             RevisorDePlantilla(p, CatalogoDeLaTienda::Lee(cnn, p, porGuardar), false).Revisa()) {
            problemas << nombre + QStringLiteral(", ") + problema;
        }
    }
    return problemas;
}

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

QString AlmacenDePlantillas::FuenteCortada(const QByteArray& fuente) {
    if (fuente.isEmpty() || fuente.endsWith('\n')) {
        return {};
    }
    return QStringLiteral("línea %1: la línea no termina; el archivo parece cortado. Si está "
                          "completo, termine su última línea con un salto de línea.")
        .arg(fuente.count('\n') + 1);
}

QByteArray AlmacenDePlantillas::Contenido(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(NumerosDeError::kArchivoNoEncontrado, archivo.errorString(), ruta);
    }
    const QByteArray bytes = archivo.readAll();
    if (ruta.endsWith(kFuente)) {
        // A source cut short ends inside its last line: every line of a whole one is ended.
        // A value it cut is named first, by its line.
        QByteArray construida = ArchivoDePlantilla::Construye(QString::fromUtf8(bytes));
        const QString cortada = FuenteCortada(bytes);
        if (!cortada.isEmpty()) {
            throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                                 QStringLiteral("Plantilla, ") + cortada);
        }
        return construida;
    }
    if (ruta.endsWith(kEsquema)) {
        return ConstruyeBaseAuxiliar(QString::fromUtf8(bytes));
    }
    // An image a template places must be readable; any other file is stored as it is.
    const QString extension = QFileInfo(ruta).suffix().toLower();
    const bool imagen = extension == QLatin1String("png") || extension == QLatin1String("jpg") ||
                        extension == QLatin1String("jpeg");
    if (const QString error = imagen ? ImagenesDeFormato::Ilegible(ruta) : QString();
        !error.isEmpty()) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("La imagen %1 no se puede leer (%2): está dañada o no "
                                            "es PNG ni JPEG.")
                                 .arg(ruta, error));
    }
    return bytes;
}

QStringList AlmacenDePlantillas::Revisa(Conexion& cnn, const QStringList& rutas) {
    return problemasDe(cnn, rutas, contenidos(rutas));
}

QStringList AlmacenDePlantillas::Guarda(Conexion& cnn, const QStringList& rutas) {
    const QHash<QString, QByteArray> porGuardar = contenidos(rutas);
    const QStringList problemas = problemasDe(cnn, rutas, porGuardar);
    if (!problemas.isEmpty()) {
        throw ErrorDeReporte(
            ErrorDeReporte::kPlantilla,
            QStringLiteral("No se guardó nada; las plantillas tienen problemas:\n") +
                problemas.join(QLatin1Char('\n')));
    }
    CamposBin campos;
    campos.BaseDD = &cnn;
    QStringList guardados;
    for (const QString& ruta : rutas) {
        campos.GuardaRPT(NombreGuardado(ruta), porGuardar.value(NombreGuardado(ruta)));
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
