#pragma once

#include "trabajos/exportacion/HojaDeCalculo.h"
#include "trabajos/tope/ReimpresionConTope.h"

class Conexion;

// The cap run for the accountant: a sheet of its days (date, real total, share of the cap,
// chosen total, notes, first and last new folio) and one of its chosen notes (date, original
// series and folio, new folio, client, subtotal, discount, IVA, IEPS, total) read from the
// working copies, each with the totals the window's grid shows.
class ExportacionDeTope {
public:
    static LibroDeCalculo Libro(Conexion& cnn, const ResultadoDeTope& resultado, Importe tope);
    // "tope-2026-11-01-al-2026-11-30.xlsx"
    static QString NombrePropuesto(const ResultadoDeTope& resultado);
};
