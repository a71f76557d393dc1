#include "orvlib/EscritorDeArchivo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// The data reach the disk before the file takes its name: a full disk found only at the sync
// keeps the old file.
bool EscritorDeArchivo::Sincroniza(QFileDevice& archivo) {
#ifdef Q_OS_UNIX
    return ::fsync(archivo.handle()) == 0 || errno == EINVAL;
#else
    Q_UNUSED(archivo);
    return true;
#endif
}

EscritorDeArchivo::EscritorDeArchivo(QString ruta, Sincronizacion sincroniza)
    : ruta_(std::move(ruta))
    , archivo_(ruta_)
    , salida_(archivo_, ruta_)
    , sincroniza_(std::move(sincroniza)) {
    CreaCarpetaDe(ruta_);
    errno = 0;
    if (!archivo_.open(QIODevice::WriteOnly)) {
        throw ErrorDeEscritura(ruta_, errno, archivo_.errorString());
    }
}

void EscritorDeArchivo::soloParaElDueno() {
    errno = 0;
    if (!archivo_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        throw ErrorDeEscritura(ruta_, errno, archivo_.errorString());
    }
}

void EscritorDeArchivo::escribe(const QByteArray& bytes) {
    if (salida_.write(bytes) != bytes.size()) {
        throw salida_.error();
    }
}

void EscritorDeArchivo::termina(const Revision& revision) {
    errno = 0;
    if (!salida_.fallo() &&
        (!archivo_.flush() || archivo_.error() != QFileDevice::NoError || !sincroniza_(archivo_))) {
        salida_.anota(errno, archivo_.errorString());
    }
    if (salida_.fallo()) {
        archivo_.cancelWriting();
        throw salida_.error();
    }
    const QString rechazo = revision ? revision(salida_) : QString();
    if (!rechazo.isEmpty()) {
        archivo_.cancelWriting();
        throw ErrorOrvlib(ErrorDeEscritura::kNumero, rechazo, ruta_);
    }
    errno = 0;
    if (!archivo_.commit()) {
        throw ErrorDeEscritura(ruta_, errno, archivo_.errorString());
    }
}

void EscritorDeArchivo::Escribe(const QString& ruta, const QByteArray& contenido) {
    EscritorDeArchivo escritor(ruta);
    escritor.escribe(contenido);
    escritor.termina();
}

void EscritorDeArchivo::Agrega(const QString& ruta, const QByteArray& contenido) {
    CreaCarpetaDe(ruta);
    QFile archivo(ruta);
    const bool existia = archivo.exists();
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        throw ErrorDeEscritura(ruta, errno, archivo.errorString());
    }
    const qint64 antes = archivo.size();
    errno = 0;
    if (archivo.write(contenido) != contenido.size()) {
        const int numero = errno;
        const QString texto = archivo.errorString();
        // The part that got in goes, so the file ends as it did, or is not there at all.
        if (!existia) {
            archivo.remove();
        } else if (archivo.size() > antes) {
            archivo.resize(antes);
        }
        throw ErrorDeEscritura(ruta, numero, texto);
    }
}

void EscritorDeArchivo::CreaCarpetaDe(const QString& ruta) {
    const QString carpeta = QFileInfo(ruta).absolutePath();
    errno = 0;
    if (!QDir().mkpath(carpeta)) {
        throw ErrorDeEscritura(carpeta, errno, QStringLiteral("no se pudo crear la carpeta"));
    }
}
