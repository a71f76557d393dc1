#include "orvlib/SalidaRevisada.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>

namespace {

bool sinEspacio(int numero) {
#ifdef EDQUOT
    if (numero == EDQUOT) {
        return true;
    }
#endif
    return numero == ENOSPC || numero == EFBIG;
}

bool sinPermiso(int numero) {
#ifdef EROFS
    if (numero == EROFS) {
        return true;
    }
#endif
    return numero == EACCES || numero == EPERM;
}

// Where the system gave no number, a disk with no byte left is the cause.
bool discoLleno(const QString& ruta) {
    const QStorageInfo disco(QFileInfo(ruta).absolutePath());
    return disco.isValid() && disco.bytesAvailable() == 0;
}

} // namespace

SalidaRevisada::SalidaRevisada(QIODevice& destino, QString ruta)
    : destino_(destino)
    , ruta_(std::move(ruta)) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

ErrorOrvlib SalidaRevisada::error() const {
    return ErrorDeEscritura(ruta_, falla_->numero, falla_->texto);
}

void SalidaRevisada::anota(int numeroDelSistema, const QString& textoDelSistema) {
    if (!falla_) {
        falla_ = Falla{numeroDelSistema, textoDelSistema};
    }
}

ErrorOrvlib SalidaRevisada::ErrorDeEscritura(const QString& ruta, int numeroDelSistema,
                                             const QString& textoDelSistema) {
    // The message names the file; the error's context carries its whole path.
    const QString nombre = QFileInfo(ruta).fileName();
    QString causa;
    if (sinEspacio(numeroDelSistema) || (numeroDelSistema == 0 && discoLleno(ruta))) {
        causa = QStringLiteral("No hay espacio en el disco para escribir %1").arg(nombre);
    } else if (sinPermiso(numeroDelSistema)) {
        causa = QStringLiteral("No se tiene permiso para escribir %1").arg(nombre);
    } else {
        causa = QStringLiteral("No se pudo escribir %1: %2").arg(nombre, textoDelSistema);
    }
    return ErrorOrvlib(kNoSeEscribio, causa, ruta);
}

qint64 SalidaRevisada::readData(char*, qint64) {
    return -1;
}

qint64 SalidaRevisada::writeData(const char* datos, qint64 largo) {
    if (falla_) {
        return -1;
    }
    errno = 0;
    const qint64 escritos = destino_.write(datos, largo);
    if (escritos != largo) {
        anota(errno, destino_.errorString());
        return -1;
    }
    escritos_ += largo;
    cola_.append(datos, static_cast<qsizetype>(largo));
    if (cola_.size() > kCola) {
        cola_.remove(0, cola_.size() - kCola);
    }
    return largo;
}
