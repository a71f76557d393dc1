#include "tienda/ReglasDeImpuestos.h"

#include "orvlib/BasesDD.h"

void LeeAplicaImpuestos(quint8& aplicaIva, quint8& aplicaImpAd, Conexion& conexionHost) {
    aplicaIva = static_cast<quint8>(
        BasesDD::LeeDato(QStringLiteral("AplicaIVA"), conexionHost, QStringLiteral("configura"))
            .toInt());
    aplicaImpAd = static_cast<quint8>(
        BasesDD::LeeDato(QStringLiteral("AplicaImpAd"), conexionHost, QStringLiteral("configura"))
            .toInt());
    if (aplicaIva == 1 && aplicaImpAd == 1) {
        aplicaImpAd = 0;
    }
}

CifrasDeLinea::Reglas ReglasDeImpuestos(Conexion& conexionHost) {
    quint8 aplicaIva = 0;
    quint8 aplicaImpAd = 0;
    LeeAplicaImpuestos(aplicaIva, aplicaImpAd, conexionHost);
    return {aplicaIva == 1, aplicaImpAd == 1};
}
