#include "hostdata/TablasDeTrabajo.h"

#include "orvlib/Conexion.h"

void TablasDeTrabajo::Crea(Conexion& cnn) {
    Borra(cnn);
    cnn.ejecuta(QStringLiteral("Create table tmpremisiones like remisiones"));
    cnn.ejecuta(QStringLiteral("Create table tmpremisionesdetalle like remisionesdetalle"));
}

void TablasDeTrabajo::Borra(Conexion& cnn) {
    cnn.ejecuta(QStringLiteral("Drop table if exists tmpremisiones"));
    cnn.ejecuta(QStringLiteral("Drop table if exists tmpremisionesdetalle"));
}
