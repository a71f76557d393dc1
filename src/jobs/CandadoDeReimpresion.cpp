#include "jobs/CandadoDeReimpresion.h"

#include "hostdata/Rechazo.h"
#include "orvlib/Conexion.h"

#include <QCryptographicHash>
#include <QSqlQuery>

namespace {

const QString kPrefijo = QStringLiteral("deremisiones.reimpresion.");
constexpr int kLargoMaximo = 64;

QString primerValor(QSqlQuery q) {
    return q.next() ? q.value(0).toString() : QString();
}

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
    const QString base = primerValor(cnn_.consulta(QStringLiteral("SELECT DATABASE()")));
    nombre_ = Nombre(base);
    tomado_ = primerValor(cnn_.consulta(QStringLiteral("SELECT GET_LOCK(?, 0)"), {nombre_})) ==
              QLatin1String("1");
    if (!tomado_) {
        const QString quien = quienLoTiene();
        aviso_ = QStringLiteral("Ya se están reimprimiendo remisiones de la base de datos '%1' "
                                "en otra ventana o estación%2. Las dos usarían las mismas tablas "
                                "de trabajo: espere a que termine y vuelva a intentarlo.")
                     .arg(base, quien.isEmpty() ? QString()
                                                : QStringLiteral(" (") + quien + QLatin1Char(')'));
    }
    return tomado_;
}

QString CandadoDeReimpresion::quienLoTiene() const {
    const QString conexion =
        primerValor(cnn_.consulta(QStringLiteral("SELECT IS_USED_LOCK(?)"), {nombre_}));
    if (conexion.isEmpty()) {
        return {};
    }
    // The holder's address shows only to an account that may see the other connections.
    const QString servidor = primerValor(cnn_.consulta(
        QStringLiteral("SELECT HOST FROM information_schema.PROCESSLIST WHERE ID=?"), {conexion}));
    return servidor.section(QLatin1Char(':'), 0, 0);
}

void CandadoDeReimpresion::Verifica() const {
    const bool propio =
        tomado_ &&
        primerValor(cnn_.consulta(QStringLiteral("SELECT IS_USED_LOCK(?) = CONNECTION_ID()"),
                                  {nombre_})) == QLatin1String("1");
    if (!propio) {
        throw Rechazo(QStringLiteral("Esta ventana ya no tiene reservadas las tablas de trabajo "
                                     "(la conexión con el servidor se perdió). Ciérrela y ábrala "
                                     "de nuevo."));
    }
}

void CandadoDeReimpresion::Suelta() {
    if (tomado_) {
        tomado_ = false;
        cnn_.consulta(QStringLiteral("SELECT RELEASE_LOCK(?)"), {nombre_});
    }
}
