#include "orvlib/ErrorOrvlib.h"

ErrorOrvlib::ErrorOrvlib(int numero, const QString& descripcion, const QString& contexto)
    : std::runtime_error(
          QStringLiteral("Error %1: %2 [%3]").arg(numero).arg(descripcion, contexto).toStdString())
    , numero_(numero)
    , descripcion_(descripcion)
    , contexto_(contexto) {}

QString ErrorOrvlib::texto() const {
    QString t = QStringLiteral("Error no. %1: %2").arg(numero_).arg(descripcion_);
    if (!contexto_.isEmpty()) {
        t += QStringLiteral("\r\n") + contexto_;
    }
    return t;
}
