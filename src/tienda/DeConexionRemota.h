#pragma once

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/FabricaOrvlib.h"
#include "orvlib/NumerosDeError.h"

#include <QString>
#include <memory>

// Shows the "Alerta" box for an object that could not be created.
void MuestraErrorDeCreacion(const ErrorOrvlib& error, const QString& clase,
                            const QString& libreria);

// Creates the support-library object libreria.clase into the target; on failure shows the
// error and returns false.
template <typename T>
bool CreaObjeto(std::unique_ptr<T>& destino, const QString& clase, const QString& libreria) {
    try {
        std::unique_ptr<ObjetoOrvlib> objeto =
            FabricaOrvlib::crea(libreria + QLatin1Char('.') + clase);
        T* tipado = dynamic_cast<T*>(objeto.get());
        if (tipado == nullptr) {
            throw ErrorOrvlib(NumerosDeError::kTiposNoCoinciden,
                              QStringLiteral("No coinciden los tipos"), clase);
        }
        objeto.release();
        destino.reset(tipado);
        return true;
    } catch (const ErrorOrvlib& e) {
        MuestraErrorDeCreacion(e, clase, libreria);
        return false;
    }
}
