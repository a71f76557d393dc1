#include "hostdata/TablasDeTrabajo.h"

#include "orvlib/Conexion.h"

#include <QSqlQuery>

namespace {

void copiaEstructura(Conexion& cnn, const QString& tabla) {
    QSqlQuery q = cnn.consulta(QStringLiteral("Show create table ") + tabla);
    q.next();
    QString creacion = q.value(1).toString();
    cnn.ejecuta(creacion.replace(tabla, QStringLiteral("tmp") + tabla));
}

} // namespace

void TablasDeTrabajo::Crea(Conexion& cnn) {
    Borra(cnn);
    copiaEstructura(cnn, QStringLiteral("remisiones"));
    copiaEstructura(cnn, QStringLiteral("remisionesdetalle"));
}

void TablasDeTrabajo::Borra(Conexion& cnn) {
    cnn.ejecuta(QStringLiteral("Drop table if exists tmpremisiones"));
    cnn.ejecuta(QStringLiteral("Drop table if exists tmpremisionesdetalle"));
}
