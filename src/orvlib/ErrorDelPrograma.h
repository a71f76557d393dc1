#pragma once

#include "orvlib/NumerosDeError.h"

#include <QString>
#include <stdexcept>
#include <string>

// The root of the program's own exceptions: what failed, in Spanish (texto), and its number
// (NumerosDeError, or the server's or the report engine's). One catch takes them all; each kind
// is then told apart by its type, never by its text.
class ErrorDelPrograma : public std::runtime_error {
public:
    ErrorDelPrograma(int numero, const QString& texto)
        : ErrorDelPrograma(numero, texto, texto.toStdString()) {}

    int numero() const { return numero_; }
    const QString& texto() const { return texto_; }

protected:
    // que is what() gives: the logs' one-line form where it differs from texto.
    ErrorDelPrograma(int numero, const QString& texto, const std::string& que)
        : std::runtime_error(que)
        , numero_(numero)
        , texto_(texto) {}

private:
    int numero_;
    QString texto_;
};
