#include "hostdata/Dialogos.h"

#include "hostdata/DialogosConsola.h"

namespace {

Dialogos* instalado = nullptr;

} // namespace

Dialogos& Dialogos::actual() {
    static DialogosConsola consola;
    return instalado != nullptr ? *instalado : consola;
}

void Dialogos::instala(Dialogos* dialogos) {
    instalado = dialogos;
}
