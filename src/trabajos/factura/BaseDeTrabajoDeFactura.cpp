#include "trabajos/factura/BaseDeTrabajoDeFactura.h"

#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"

BaseDeTrabajoDeFactura::BaseDeTrabajoDeFactura(Conexion& principal, Conexion& temporal)
    : principal_(principal)
    , temporal_(temporal) {}

bool BaseDeTrabajoDeFactura::TomaLaBaseTemporal() {
    return candado_.Toma();
}

QString BaseDeTrabajoDeFactura::QuienTieneLaBaseTemporal() const {
    return candado_.QuienLoTiene();
}

QString BaseDeTrabajoDeFactura::Ocupada(const QString& quien) {
    return QStringLiteral("La base de trabajo de las facturas por remisiones de este servidor "
                          "está reservada por otra ventana u orden de consola, abierta en "
                          "%1. Cuando esa se cierre, vuelva a intentarlo.")
        .arg(quien.isEmpty() ? QStringLiteral("este u otro equipo") : quien);
}

void BaseDeTrabajoDeFactura::VerificaLaBaseTemporal() {
    if (!candado_.EsPropio()) {
        throw Rechazo(QStringLiteral("Esta ventana ya no tiene reservada la base de trabajo "
                                     "(la conexión con el servidor se perdió). Ciérrela y ábrala "
                                     "de nuevo."));
    }
}

void BaseDeTrabajoDeFactura::SueltaLaBaseTemporal() {
    candado_.Suelta();
}

void BaseDeTrabajoDeFactura::PreparaBaseTemporal() {
    principal_.ejecuta(QStringLiteral("Drop database if exists ") + BaseTemporal());
    principal_.ejecuta(QStringLiteral("Create database if not exists ") + BaseTemporal());
    if (!Proceso::actual().bases->AbrirBdD(temporal_, BaseTemporal())) {
        throw ErrorOrvlib(temporal_.ultimoNumero(), temporal_.ultimoError(), BaseTemporal());
    }
    // Copies of the host tables' structure made by the server, columns in the host's order.
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        principal_.ejecuta(QStringLiteral("Create table %1.%2 like %2")
                               .arg(BaseTemporal(), QString::fromLatin1(tabla)));
    }
}

void BaseDeTrabajoDeFactura::BorraBaseTemporal() {
    principal_.ejecuta(QStringLiteral("Drop database if exists ") + BaseTemporal());
}
