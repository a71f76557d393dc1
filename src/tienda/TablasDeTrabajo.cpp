#include "tienda/TablasDeTrabajo.h"

#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>
#include <QStringList>

void TablasDeTrabajo::Crea(Conexion& cnn) {
    Borra(cnn);
    cnn.ejecuta(QStringLiteral("Create table tmpremisiones like remisiones"));
    cnn.ejecuta(QStringLiteral("Create table tmpremisionesdetalle like remisionesdetalle"));
}

void TablasDeTrabajo::Borra(Conexion& cnn) {
    // With them go the scratch tables that the reduction of earlier versions, stopped by a lost
    // server, could leave behind.
    cnn.ejecuta(QStringLiteral("Drop table if exists tmpremisiones, tmpremisionesdetalle, "
                               "tmpremisiones_lote, tmpremisionesdetalle_lote"));
}

QString TablasDeTrabajo::Columnas(Conexion& cnn, const QString& tabla, const QString& alias,
                                  const QMap<QString, QString>& expresiones) {
    QStringList columnas;
    QSqlQuery q = cnn.consulta(QStringLiteral("SHOW COLUMNS FROM ") + Sentencias::Nombre(tabla));
    while (q.next()) {
        const QString columna = q.value(0).toString();
        columnas << expresiones.value(columna.toLower(),
                                      alias + QLatin1Char('.') + Sentencias::Nombre(columna));
    }
    return columnas.join(QLatin1Char(','));
}
