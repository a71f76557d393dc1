#pragma once

#include <QString>

class QWidget;

// Remembers where each job window was left, in CNFWNDS.INI beside the program: 44-byte records
// of top and left in twips (16-bit little-endian) and the window's name in upper case, padded
// with blanks to 40 bytes.
class Posiciones {
public:
    // Places the window from its record (0, 0 and a new record when it has none) and gives it
    // the main menu's icon.
    static void AplicaPosicion(QWidget* ventana);
    // The stored top and left of a key, which is turned to upper case; a new record when the
    // key has none.
    static void LeePosicion(QString& clave, qint16& arriba, qint16& izquierda);
    // Stores the window's position, clamped to what 16 bits hold.
    static void GuardaPosicion(QWidget* ventana);

    static QString Archivo();
    static constexpr int kTwipsPorPixel = 15;
};
