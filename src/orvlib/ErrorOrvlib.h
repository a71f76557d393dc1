#pragma once

#include <QString>
#include <stdexcept>

// A failed database statement or file operation: the number and text the server or the system
// gave, and the statement or path involved, so the user and the logs can act on it.
class ErrorOrvlib : public std::runtime_error {
public:
    ErrorOrvlib(int numero, const QString& descripcion, const QString& contexto);

    int numero() const { return numero_; }
    const QString& descripcion() const { return descripcion_; }
    const QString& contexto() const { return contexto_; }
    // "Error no. N: description" followed by the statement or file on a line of its own.
    QString texto() const;

private:
    int numero_;
    QString descripcion_;
    QString contexto_;
};
