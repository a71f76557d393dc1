#include "servicios/Dialogos.h"

#include "servicios/DialogosConsola.h"

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

void Dialogos::mensajeConDetalle(const QString& texto, const QString& detalle,
                                 const QString& titulo, Icono icono) {
    mensaje(detalle.isEmpty() ? texto : texto + QStringLiteral("\r\n\r\n") + detalle, titulo,
            icono);
}

QString Dialogos::archivoParaGuardar(const QString& titulo, const QString& propuesto,
                                     const QString& filtros) {
    Q_UNUSED(titulo);
    Q_UNUSED(propuesto);
    Q_UNUSED(filtros);
    return {};
}
