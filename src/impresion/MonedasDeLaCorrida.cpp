#include "impresion/MonedasDeLaCorrida.h"

#include "orvlib/BasesDD.h"

namespace {

void agregaParidad(MonedasDeLaCorrida::Paridades& paridades, const Recordset& monedas) {
    if (paridades.size() < 10) {
        paridades.append({QStringLiteral("Paridad%1").arg(paridades.size() + 1),
                          monedas.campo(QStringLiteral("Paridad")).toDouble()});
    }
}

} // namespace

MonedasDeLaCorrida::MonedasDeLaCorrida(Conexion& host) {
    Recordset monedas;
    BasesDD::AbrirTabla(monedas, host, QStringLiteral("monedas order by Id"));
    for (; !monedas.fin(); monedas.siguiente()) {
        const qint32 id = monedas.campo(QStringLiteral("Id")).toInt();
        if (!monedas_.contains(id)) {
            monedas_.insert(id, {monedas.campo(QStringLiteral("Nombre")).toString(),
                                 monedas.campo(QStringLiteral("Abreviacion")).toString()});
        }
        agregaParidad(paridades_, monedas);
    }
    BasesDD::CierraTabla(monedas);
}

MonedasDeLaCorrida::Paridades MonedasDeLaCorrida::Lee(Conexion& host) {
    Recordset monedas;
    BasesDD::AbrirTabla(monedas, host, QStringLiteral("monedas order by Id"));
    Paridades paridades;
    for (; !monedas.fin() && paridades.size() < 10; monedas.siguiente()) {
        agregaParidad(paridades, monedas);
    }
    BasesDD::CierraTabla(monedas);
    return paridades;
}
