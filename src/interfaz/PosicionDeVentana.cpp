#include "interfaz/PosicionDeVentana.h"

#include "tienda/Posiciones.h"

#include <QApplication>
#include <QWidget>

namespace {

QString claveDe(const QWidget* ventana) {
    return ventana->objectName().trimmed().toUpper();
}

} // namespace

void PosicionDeVentana::AplicaPosicion(QWidget* ventana) {
    QString clave = claveDe(ventana);
    qint16 arriba = 0;
    qint16 izquierda = 0;
    Posiciones::LeePosicion(clave, arriba, izquierda);
    ventana->move(izquierda / Posiciones::kTwipsPorPixel, arriba / Posiciones::kTwipsPorPixel);
    ventana->setWindowIcon(QApplication::windowIcon());
}

void PosicionDeVentana::GuardaPosicion(QWidget* ventana) {
    const QPoint p = ventana->pos();
    Posiciones::GuardaPosicion(claveDe(ventana), p.y() * Posiciones::kTwipsPorPixel,
                               p.x() * Posiciones::kTwipsPorPixel);
}
