#pragma once

#include <QString>

// Remembers where each job window was left, in CNFWNDS.INI beside the program: 44-byte records
// of top and left in twips (16-bit little-endian) and the window's name in upper case, padded
// with blanks to 40 bytes. The windows' side is PosicionDeVentana.
class Posiciones {
public:
    // The stored top and left of a key, which is turned to upper case; a new record at 0, 0
    // when the key has none.
    static void LeePosicion(QString& clave, qint16& arriba, qint16& izquierda);
    // Stores the top and left (twips) of a key, clamped to what 16 bits hold, in its record or
    // a new one after the last.
    static void GuardaPosicion(const QString& clave, int arriba, int izquierda);

    static QString Archivo();
    static constexpr int kTwipsPorPixel = 15;
};
