#pragma once

#include "trabajos/tope/ReimpresionConTope.h"

#include <QColor>
#include <QRectF>

class QPainter;

// The picture of a cap run's days, painted with QPainter on any device (the window, the run's
// summary PDF): for each day a bar of its real total, inside it a bar of the amount chosen, and
// a mark at the day's share of the cap; the days' numbers below, the scale's top on the left and
// a legend above.
class GraficaDeDias {
public:
    GraficaDeDias(const ResultadoDeTope& resultado, Importe tope);

    void Pinta(QPainter& pintor, const QRectF& area) const;

    // Where a day's bars and mark fall in an area, so the picture can be checked against the
    // grid.
    QRectF BarraReal(const QRectF& area, int dia) const;
    QRectF BarraElegida(const QRectF& area, int dia) const;
    double MarcaDeLaParte(const QRectF& area, int dia) const;

    static const QColor kReal;
    static const QColor kElegido;
    static const QColor kParte;

private:
    QRectF lienzo(const QRectF& area) const;
    QRectF barra(const QRectF& area, int dia, Importe importe, double ancho) const;
    double alto(const QRectF& lienzo, Importe importe) const;
    void leyenda(QPainter& pintor, const QRectF& area) const;

    const ResultadoDeTope& resultado_;
    Importe tope_;
    Importe maximo_;
};
