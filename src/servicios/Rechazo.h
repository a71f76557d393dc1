#pragma once

#include "orvlib/ErrorDelPrograma.h"

#include <QString>

// A request refused before anything was changed: an input out of range, a job another
// workstation is running. The windows show its text as a warning, the command line on
// standard error; it is not an error of the program or the server.
class Rechazo : public ErrorDelPrograma {
public:
    explicit Rechazo(const QString& texto)
        : ErrorDelPrograma(NumerosDeError::kSinNumero, texto) {}
};
