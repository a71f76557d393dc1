#pragma once

#include "orvlib/ErrorDelPrograma.h"

#include <QString>

// A failed database statement or file operation: the number and text the server or the system
// gave, and the statement or path involved, so the user and the logs can act on it.
class ErrorOrvlib : public ErrorDelPrograma {
public:
    ErrorOrvlib(int numero, const QString& descripcion, const QString& contexto);

    const QString& descripcion() const { return descripcion_; }
    const QString& contexto() const { return contexto_; }
    // texto(): "Error no. N: description" followed by the statement or file on a line of its
    // own.

private:
    static QString completo(int numero, const QString& descripcion, const QString& contexto);

    QString descripcion_;
    QString contexto_;
};
