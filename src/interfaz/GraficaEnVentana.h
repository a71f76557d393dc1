#pragma once

#include "trabajos/tope/ReimpresionConTope.h"

#include <QWidget>

// The picture of a cap run's days in a window: the same drawing as the run's summary on
// paper, at the widget's size; blank until a run is shown.
class GraficaEnVentana : public QWidget {
public:
    explicit GraficaEnVentana(QWidget* parent = nullptr);

    void Muestra(const ResultadoDeTope& resultado, Importe tope);
    void Limpia();

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    ResultadoDeTope resultado_;
    Importe tope_;
};
