#include "tienda/CandadoDelServidor.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"

#include <QSqlQuery>
#include <utility>

CandadoDelServidor::CandadoDelServidor(Conexion& cnn, QString nombre)
    : cnn_(cnn)
    , nombre_(std::move(nombre)) {}

CandadoDelServidor::~CandadoDelServidor() {
    if (tomado_ && cnn_.abierta()) {
        try {
            Suelta();
        } catch (const ErrorOrvlib&) {
            // The server lets it go with the connection anyway.
        }
    }
}

bool CandadoDelServidor::Toma() {
    tomado_ = tomaSinEsperar();
    if (!tomado_) {
        const QString conexion = cnn_.valor(QStringLiteral("SELECT IS_USED_LOCK(?)"), {nombre_});
        tomado_ = conexion.isEmpty()         ? tomaSinEsperar()
                  : seEstaCerrando(conexion) ? tomaEsperando(kEspera)
                                             : tomaEsperando(kMomento);
    }
    if (tomado_) {
        QSqlQuery propia = cnn_.consulta(QStringLiteral(
            "SELECT ID, HOST FROM information_schema.PROCESSLIST WHERE ID=CONNECTION_ID()"));
        if (propia.next()) {
            idPropio_ = propia.value(0).toString();
            hostPropio_ = propia.value(1).toString();
        }
    }
    return tomado_;
}

bool CandadoDelServidor::tomaSinEsperar() {
    return cnn_.valor(QStringLiteral("SELECT GET_LOCK(?, 0)"), {nombre_}) == QLatin1String("1");
}

bool CandadoDelServidor::tomaEsperando(int segundos) {
    return cnn_.valor(QStringLiteral("SELECT GET_LOCK(?, %1)").arg(segundos), {nombre_}) ==
           QLatin1String("1");
}

bool CandadoDelServidor::seEstaCerrando(const QString& conexion) {
    QSqlQuery quien = cnn_.consulta(
        QStringLiteral("SELECT COMMAND, HOST FROM information_schema.PROCESSLIST WHERE ID=?"),
        {conexion});
    if (!quien.next()) {
        // Gone from the list already, or not visible to this account: worth the wait only when
        // it is gone.
        return cnn_.valor(QStringLiteral("SELECT IS_USED_LOCK(?)"), {nombre_}).isEmpty();
    }
    if (quien.value(0).toString().compare(QLatin1String("Killed"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (conexion != idPropio_ || quien.value(1).toString() != hostPropio_) {
        return false;
    }
    try {
        cnn_.ejecuta(QStringLiteral("KILL CONNECTION ") + conexion);
    } catch (const ErrorOrvlib&) {
        // Already gone, or not this account's to end: the wait tells.
    }
    return true;
}

bool CandadoDelServidor::EsPropio() const {
    return tomado_ && cnn_.valor(QStringLiteral("SELECT IS_USED_LOCK(?) = CONNECTION_ID()"),
                                 {nombre_}) == QLatin1String("1");
}

void CandadoDelServidor::Suelta() {
    if (tomado_) {
        tomado_ = false;
        cnn_.valor(QStringLiteral("SELECT RELEASE_LOCK(?)"), {nombre_});
    }
}

QString CandadoDelServidor::QuienLoTiene() const {
    const QString conexion = cnn_.valor(QStringLiteral("SELECT IS_USED_LOCK(?)"), {nombre_});
    if (conexion.isEmpty()) {
        return {};
    }
    const QString quien =
        cnn_.valor(QStringLiteral("SELECT CONCAT(SUBSTRING_INDEX(HOST, ':', 1), ' ', USER) FROM "
                                  "information_schema.PROCESSLIST WHERE ID=?"),
                   {conexion});
    if (quien.isEmpty()) {
        return {};
    }
    // An address has no blanks; the account's name may.
    return QStringLiteral("la estación %1, usuario %2")
        .arg(quien.section(QLatin1Char(' '), 0, 0), quien.section(QLatin1Char(' '), 1));
}
