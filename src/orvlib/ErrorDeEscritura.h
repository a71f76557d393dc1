#pragma once

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"

// A file the program could not write, with the cause in Spanish: the disk full, no permission,
// else the system's own text. Its description names the file and its context is the whole
// path. Routines that go on past their own errors let this one through: it is the real cause
// of whatever fails after it.
class ErrorDeEscritura : public ErrorOrvlib {
public:
    // numeroDelSistema is errno as the failed call left it (0 when unknown).
    ErrorDeEscritura(const QString& ruta, int numeroDelSistema, const QString& textoDelSistema);

    static constexpr int kNumero = NumerosDeError::kAccesoAArchivo;

private:
    static QString causa(const QString& ruta, int numeroDelSistema, const QString& textoDelSistema);
};
