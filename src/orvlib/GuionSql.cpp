#include "orvlib/GuionSql.h"

QStringList SentenciasDeGuion(const QString& guion) {
    QStringList sentencias;
    QString sentencia;
    for (const QString& linea : guion.split(QLatin1Char('\n'))) {
        if (linea.trimmed().startsWith(QLatin1String("--"))) {
            continue;
        }
        sentencia += linea + QLatin1Char('\n');
        if (linea.trimmed().endsWith(QLatin1Char(';'))) {
            sentencias << sentencia.trimmed().chopped(1);
            sentencia.clear();
        }
    }
    return sentencias;
}
