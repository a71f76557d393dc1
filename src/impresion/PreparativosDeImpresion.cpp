#include "impresion/PreparativosDeImpresion.h"

#include "impresion/modRPTs.h"
#include "orvlib/BasesDD.h"
#include "tienda/ReglasDeImpuestos.h"

PreparativosDeImpresion::PreparativosDeImpresion(Conexion& host, const QString& archivoFormato) {
    modRPTs& rpt = modRPTs::actual();
    rpt.IniciaCorrida(host, archivoFormato);
    try {
        auxiliar_ = std::make_unique<AuxiliarDeLaCorrida>(host);
        lineasPorHoja_ =
            BasesDD::LeeDato(QStringLiteral("PartidasXhojaRem"), host, QStringLiteral("configura"))
                .toInt();
        reglas_ = ReglasDeImpuestos(host);
        monedas_ = std::make_unique<MonedasDeLaCorrida>(host);
    } catch (...) {
        auxiliar_.reset();
        rpt.TerminaCorrida();
        throw;
    }
}

PreparativosDeImpresion::~PreparativosDeImpresion() {
    // The engine lets the auxiliary file go before it is removed.
    modRPTs::actual().TerminaCorrida();
    auxiliar_.reset();
}
