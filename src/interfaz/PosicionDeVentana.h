#pragma once

class QWidget;

// Places a job window where it was left and remembers where it is left, by its name in upper
// case, through the placement file of Posiciones.
class PosicionDeVentana {
public:
    // Places the window from its record (0, 0 and a new record when it has none) and gives it
    // the main menu's icon.
    static void AplicaPosicion(QWidget* ventana);
    // Stores the window's position, clamped to what 16 bits hold.
    static void GuardaPosicion(QWidget* ventana);
};
