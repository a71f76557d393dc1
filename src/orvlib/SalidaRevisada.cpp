#include "orvlib/SalidaRevisada.h"

#include <cerrno>

SalidaRevisada::SalidaRevisada(QIODevice& destino, QString ruta)
    : destino_(destino)
    , ruta_(std::move(ruta)) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

ErrorDeEscritura SalidaRevisada::error() const {
    return ErrorDeEscritura(ruta_, falla_->numero, falla_->texto);
}

void SalidaRevisada::anota(int numeroDelSistema, const QString& textoDelSistema) {
    if (!falla_) {
        falla_ = Falla{numeroDelSistema, textoDelSistema};
    }
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
