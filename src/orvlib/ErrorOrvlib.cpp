#include "orvlib/ErrorOrvlib.h"

ErrorOrvlib::ErrorOrvlib(int numero, const QString& descripcion, const QString& contexto)
    : ErrorDelPrograma(
          numero, completo(numero, descripcion, contexto),
          QStringLiteral("Error %1: %2 [%3]").arg(numero).arg(descripcion, contexto).toStdString())
    , descripcion_(descripcion)
    , contexto_(contexto) {}

QString ErrorOrvlib::completo(int numero, const QString& descripcion, const QString& contexto) {
    QString t = QStringLiteral("Error no. %1: %2").arg(numero).arg(descripcion);
    if (!contexto.isEmpty()) {
        t += QStringLiteral("\r\n") + contexto;
    }
    return t;
}
