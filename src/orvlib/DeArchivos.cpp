#include "orvlib/DeArchivos.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

bool DeArchivos::HayArchivo(const QString& ruta) {
    return QFileInfo(ruta).isFile();
}

void DeArchivos::BorraArchivo(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.remove()) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta);
    }
}

bool DeArchivos::AbreDocumento(const QString& ruta, int modo, int ventana) {
    Q_UNUSED(modo);
    Q_UNUSED(ventana);
    // The desktop's own opener, as the user's file manager would open the file.
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("explorer"), {QDir::toNativeSeparators(ruta)});
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {ruta});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {ruta});
#endif
}

QString DeArchivos::NombreDeArchivo(const QString& ruta) {
    const qsizetype barra =
        std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\')));
    return ruta.mid(barra + 1);
}

QString DeArchivos::ArchivoTemporal(const QString& carpeta, const QString& extension) {
    CreaRuta(carpeta);
    QTemporaryFile archivo(QDir(carpeta).filePath(QStringLiteral("AUX_XXXXXX.") + extension));
    archivo.setAutoRemove(false);
    if (!archivo.open()) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), carpeta);
    }
    return archivo.fileName();
}

void DeArchivos::CreaRuta(const QString& carpeta) {
    if (!QDir().mkpath(carpeta)) {
        throw ErrorOrvlib(NumerosDeError::kRutaNoEncontrada,
                          QStringLiteral("No se pudo crear la carpeta"), carpeta);
    }
}
