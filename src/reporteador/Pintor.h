#pragma once

#include "reporteador/Maquetador.h"

#include <QImage>
#include <QPainter>

// Paints laid-out pages with a QPainter: the one routine behind printer, PDF and preview.
class Pintor {
public:
    // Paints the page with its origin at the painter's origin, at that many device units per mm.
    static void Pinta(QPainter& pintor, const PaginaMaquetada& pagina, double unidadesPorMm);
    // The page as a white sheet of that many pixels per mm; letters keep to the layout because
    // the image's resolution is the scale's.
    static QImage Hoja(const PaginaMaquetada& pagina, QSizeF hojaMm, double puntosPorMm);
};
