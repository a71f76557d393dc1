#include "impresion/Puntero.h"

#include "servicios/Dialogos.h"

namespace {

constexpr qint16 kNormal = 0;
constexpr qint16 kOcupado = 11;

qint16 enFuerza = kNormal;

qint16 cambia(qint16 nuevo) {
    const qint16 antes = enFuerza;
    enFuerza = nuevo;
    Dialogos::actual().ocupado(nuevo == kOcupado);
    return antes;
}

} // namespace

qint16 PunteroOcupado() {
    return cambia(kOcupado);
}

qint16 PunteroNormal() {
    return cambia(kNormal);
}
