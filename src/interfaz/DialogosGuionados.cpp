#include "interfaz/DialogosGuionados.h"

DialogosGuionados::DialogosGuionados() {
    Dialogos::instala(this);
}

DialogosGuionados::~DialogosGuionados() {
    Dialogos::instala(nullptr);
}

void DialogosGuionados::mensaje(const QString& texto, const QString& titulo, Icono icono) {
    cajas_.append(Caja{texto, titulo, icono, false, false});
}

void DialogosGuionados::mensajeConDetalle(const QString& texto, const QString& detalle,
                                          const QString& titulo, Icono icono) {
    cajas_.append(Caja{texto, titulo, icono, false, false, detalle});
}

bool DialogosGuionados::pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) {
    cajas_.append(Caja{texto, titulo, Icono::Pregunta, true, noPorDefecto});
    if (respuestas_.isEmpty()) {
        return !noPorDefecto;
    }
    return respuestas_.takeFirst();
}

int DialogosGuionados::elige(const QString& texto, const QString& titulo,
                             const QStringList& opciones, int inicial) {
    Q_UNUSED(inicial);
    cajas_.append(Caja{texto, titulo, Icono::Pregunta, true, false});
    opciones_ = opciones;
    return elecciones_.isEmpty() ? -1 : elecciones_.takeFirst();
}

QString DialogosGuionados::archivoParaGuardar(const QString& titulo, const QString& propuesto,
                                              const QString& filtros) {
    Q_UNUSED(filtros);
    cajas_.append(Caja{propuesto, titulo, Icono::Pregunta, true, false});
    return archivos_.isEmpty() ? QString() : archivos_.takeFirst();
}
