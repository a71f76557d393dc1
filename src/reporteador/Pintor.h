#pragma once

#include "reporteador/Maquetador.h"

#include <QPainter>

// Paints laid-out pages with a QPainter: the one routine behind printer, PDF and preview.
class Pintor {
public:
    // Paints the page with its origin at the painter's origin, at that many device units per mm.
    static void Pinta(QPainter& pintor, const PaginaMaquetada& pagina, double unidadesPorMm);
};
