#include "hostdata/CandadoDelServidor.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"

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
    tomado_ = cnn_.valor(QStringLiteral("SELECT GET_LOCK(?, 0)"), {nombre_}) == QLatin1String("1");
    return tomado_;
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
    return cnn_
        .valor(QStringLiteral("SELECT HOST FROM information_schema.PROCESSLIST WHERE ID=?"),
               {conexion})
        .section(QLatin1Char(':'), 0, 0);
}
