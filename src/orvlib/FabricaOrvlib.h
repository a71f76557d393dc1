#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QString>
#include <memory>

// Creates the support library's objects by programmatic identifier ("Orvlib.libKwtm",
// "orvlib.DelRegistro"), compared without regard to case; throws ErrorOrvlib 429 for an
// identifier it does not know.
class FabricaOrvlib {
public:
    static std::unique_ptr<ObjetoOrvlib> crea(const QString& identificador);
};
