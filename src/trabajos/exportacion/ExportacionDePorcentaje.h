#pragma once

#include "trabajos/exportacion/HojaDeCalculo.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

class Conexion;

// The percentage run for the accountant: each note of the range with its real figures (the
// host's) and its reduced ones (the working copy's) side by side, and the eight totals the
// window shows.
class ExportacionDePorcentaje {
public:
    static LibroDeCalculo Libro(Conexion& cnn, const ResumenDePorcentaje& resumen);
    // "porcentaje-20261130-1415.xlsx", by the time of the export.
    static QString NombrePropuesto();
};
