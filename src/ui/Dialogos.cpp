#include "ui/Dialogos.h"

#include "ui/DialogosQt.h"

namespace {

Dialogos* instalado = nullptr;

} // namespace

Dialogos& Dialogos::actual() {
    static DialogosQt cajas;
    return instalado != nullptr ? *instalado : cajas;
}

void Dialogos::instala(Dialogos* dialogos) {
    instalado = dialogos;
}
