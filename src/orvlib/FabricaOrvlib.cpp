#include "orvlib/FabricaOrvlib.h"

#include "orvlib/BasesDD.h"
#include "orvlib/CamposBin.h"
#include "orvlib/DeArchivos.h"
#include "orvlib/DeEquipo.h"
#include "orvlib/DeMonedas.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/ImpresionTexto.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"

#include <functional>
#include <map>

namespace {

template <typename T> std::unique_ptr<ObjetoOrvlib> nuevo() {
    return std::make_unique<T>();
}

const std::map<QString, std::function<std::unique_ptr<ObjetoOrvlib>()>>& clases() {
    static const std::map<QString, std::function<std::unique_ptr<ObjetoOrvlib>()>> mapa = {
        {QStringLiteral("orvlib.libkwtm"), nuevo<libKwtm>},
        {QStringLiteral("orvlib.basesdd"), nuevo<BasesDD>},
        {QStringLiteral("orvlib.deequipo"), nuevo<DeEquipo>},
        {QStringLiteral("orvlib.utilerias"), nuevo<Utilerias>},
        {QStringLiteral("orvlib.dearchivos"), nuevo<DeArchivos>},
        {QStringLiteral("orvlib.impresiontexto"), nuevo<ImpresionTexto>},
        {QStringLiteral("orvlib.demonedas"), nuevo<DeMonedas>},
        {QStringLiteral("orvlib.delregistro"), nuevo<DelRegistro>},
        {QStringLiteral("orvlib.camposbin"), nuevo<CamposBin>},
    };
    return mapa;
}

} // namespace

std::unique_ptr<ObjetoOrvlib> FabricaOrvlib::crea(const QString& identificador) {
    const auto it = clases().find(identificador.trimmed().toLower());
    if (it == clases().end()) {
        throw ErrorOrvlib(NumerosDeError::kSinComponente,
                          QStringLiteral("El componente no puede crear el objeto"), identificador);
    }
    return it->second();
}
