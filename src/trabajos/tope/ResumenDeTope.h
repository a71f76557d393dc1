#pragma once

#include "impresion/HojaDeResumen.h"
#include "trabajos/tope/ReimpresionConTope.h"

// The cap run's summary on paper: its parameters, the chosen total against the cap, the
// picture of its days, the grid's rows and totals and the trail's line.
class ResumenDeTope {
public:
    static DatosDeResumen Datos(const ResultadoDeTope& resultado, Importe tope,
                                const QString& parametros, const QString& bitacora);
};
