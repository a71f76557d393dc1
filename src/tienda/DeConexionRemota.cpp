#include "tienda/DeConexionRemota.h"

#include "servicios/Dialogos.h"

void MuestraErrorDeCreacion(const ErrorOrvlib& error, const QString& clase,
                            const QString& libreria) {
    Dialogos::actual().mensaje(QStringLiteral("Error nº %1, %2\r\nIntentanto crear \"%3.%4\"")
                                   .arg(error.numero())
                                   .arg(error.descripcion(), libreria, clase),
                               QStringLiteral("Alerta"), Dialogos::Icono::Critico);
}
