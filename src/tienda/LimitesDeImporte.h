#pragma once

#include <QString>

class Conexion;

// The amounts a note may carry, so that every figure of a job fits the program's decimal type
// with room for a period's sums: amounts, prices and a line's quantity × price below 100,000
// million, quantities below 1,000 million, discounts from 0 to 100 %, rates from 0 to 1,000 %.
// A note's subtotal, IVA and IEPS, and a line's quantity and price, must hold a value: an empty
// (NULL) one is refused, as every job would read it differently from the paper. The other
// amounts (charges, discounts, the lines' stored figures) read as 0 when empty, everywhere.
class LimitesDeImporte {
public:
    // Refuses (Rechazo), before a job writes or prints anything, the first note of the
    // selection (remisiones WHERE …, as the jobs write it) beyond these limits, naming the note,
    // the field and the limit.
    static void Revisa(Conexion& cnn, const QString& seleccion);
    // A condition on a note's columns, true when its Subtotal, IVA or IEPS is empty or beyond
    // these limits: what a job that only adds up some notes' totals must not take.
    static QString TotalFueraDeLimites();
};
