#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <functional>

// Lets events run until the condition holds or the time is up; true when it held.
inline bool EsperaHasta(const std::function<bool()>& condicion, int milisegundos = 3000) {
    QDeadlineTimer limite(milisegundos);
    while (!condicion()) {
        if (limite.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Shows the window and makes it the active one, as a click on it would.
inline bool ActivaVentana(QWidget* ventana) {
    ventana->show();
    ventana->activateWindow();
    ventana->raise();
    return EsperaHasta([ventana] { return ventana->isActiveWindow(); });
}
