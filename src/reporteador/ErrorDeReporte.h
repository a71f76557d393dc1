#pragma once

#include "orvlib/ErrorDelPrograma.h"

#include <QString>

// An error of the report engine, with the engine's error number: 20506 a table it cannot read,
// 20507 a template file that is not there,
// 20510 a formula it cannot take, 20527 a data source or server it cannot reach, 20515 a
// template or selection it cannot understand, 20599 an output it cannot produce.
class ErrorDeReporte : public ErrorDelPrograma {
public:
    ErrorDeReporte(int numero, const QString& texto)
        : ErrorDelPrograma(numero, texto) {}

    static constexpr int kNoSoportada = 438; // a property or action the engine does not have
    static constexpr int kTabla = 20506;
    static constexpr int kSinArchivo = 20507;
    static constexpr int kFormula = 20510;
    static constexpr int kPlantilla = 20515;
    static constexpr int kServidor = 20527;
    static constexpr int kSalida = 20599;
};
