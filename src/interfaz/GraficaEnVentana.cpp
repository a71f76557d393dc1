#include "interfaz/GraficaEnVentana.h"

#include "trabajos/tope/GraficaDeDias.h"

#include <QPainter>

GraficaEnVentana::GraficaEnVentana(QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(QStringLiteral("Gráfica de los días"));
}

void GraficaEnVentana::Muestra(const ResultadoDeTope& resultado, Importe tope) {
    resultado_ = resultado;
    tope_ = tope;
    update();
}

void GraficaEnVentana::Limpia() {
    resultado_ = ResultadoDeTope();
    update();
}

void GraficaEnVentana::paintEvent(QPaintEvent*) {
    if (resultado_.dias.isEmpty()) {
        return;
    }
    QPainter pintor(this);
    pintor.fillRect(rect(), Qt::white);
    GraficaDeDias(resultado_, tope_).Pinta(pintor, QRectF(rect()).adjusted(4, 4, -4, -4));
}
