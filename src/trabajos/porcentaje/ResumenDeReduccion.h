#pragma once

#include "impresion/HojaDeResumen.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

// The percentage run's summary on paper: its parameters, the eight totals of "Comprobar", each
// note with its real and new total (read from the working copies and the host's notes) and
// the trail's line.
class ResumenDeReduccion {
public:
    static DatosDeResumen Datos(Conexion& cnn, const ResumenDePorcentaje& resumen,
                                const QString& parametros, const QString& bitacora);
};
