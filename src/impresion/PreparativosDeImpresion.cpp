#include "impresion/PreparativosDeImpresion.h"

#include "impresion/DesgloseDeImpuestos.h"
#include "impresion/modRPTs.h"
#include "orvlib/BasesDD.h"
#include "tienda/ReglasDeImpuestos.h"

PreparativosDeImpresion::PreparativosDeImpresion(Conexion& host, const QString& archivoFormato)
    : plantilla_(std::make_unique<PlantillaDeLaCorrida>(host, archivoFormato))
    , auxiliar_(std::make_unique<AuxiliarDeLaCorrida>(host))
    , lineasPorHoja_(
          BasesDD::LeeDato(QStringLiteral("PartidasXhojaRem"), host, QStringLiteral("configura"))
              .toInt())
    , reglas_(ReglasDeImpuestos(host))
    , monedas_(std::make_unique<MonedasDeLaCorrida>(host)) {}

PreparativosDeImpresion::~PreparativosDeImpresion() {
    // The engine lets the auxiliary file go before it is removed.
    plantilla_.reset();
    auxiliar_.reset();
}
