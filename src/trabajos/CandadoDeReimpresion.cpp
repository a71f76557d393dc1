#include "trabajos/CandadoDeReimpresion.h"

#include "orvlib/Conexion.h"
#include "servicios/Rechazo.h"

#include <QCryptographicHash>

namespace {

const QString kPrefijo = QStringLiteral("deremisiones.reimpresion.");
constexpr int kLargoMaximo = 64;

} // namespace

CandadoDeReimpresion::CandadoDeReimpresion(Conexion& cnn)
    : cnn_(cnn) {}

QString CandadoDeReimpresion::Nombre(const QString& base) {
    const QString nombre = kPrefijo + base;
    if (nombre.size() <= kLargoMaximo) {
        return nombre;
    }
    return kPrefijo + QString::fromLatin1(
                          QCryptographicHash::hash(base.toUtf8(), QCryptographicHash::Md5).toHex());
}

bool CandadoDeReimpresion::Toma() {
    const QString base = cnn_.valor(QStringLiteral("SELECT DATABASE()"));
    // The same lock object when it is taken again, so it knows its own earlier connection.
    if (!candado_ || base != base_) {
        candado_.emplace(cnn_, Nombre(base));
        base_ = base;
    }
    if (candado_->Toma()) {
        return true;
    }
    const QString quien = candado_->QuienLoTiene();
    aviso_ = QStringLiteral("La base de datos '%1' está reservada para reimprimir remisiones por "
                            "otra ventana de reimpresión, abierta en %2. Las dos usarían las "
                            "mismas tablas de trabajo: cuando esa ventana se cierre, vuelva a "
                            "intentarlo.")
                 .arg(base, quien.isEmpty() ? QStringLiteral("este u otro equipo") : quien);
    return false;
}

void CandadoDeReimpresion::Verifica() const {
    if (!candado_ || !candado_->EsPropio()) {
        throw Rechazo(QStringLiteral("Esta ventana ya no tiene reservadas las tablas de trabajo "
                                     "(la conexión con el servidor se perdió); vuelva a intentar "
                                     "y se conectará de nuevo."));
    }
}

void CandadoDeReimpresion::Suelta() {
    if (candado_) {
        candado_->Suelta();
    }
}
