#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QString>

// Amounts in words as Mexican documents print them, in capitals with their accents.
class DeMonedas : public ObjetoOrvlib {
public:
    // The whole amount in words followed by a blank, ready for the currency's name: 1234 gives
    // "MIL DOSCIENTOS TREINTA Y CUATRO ", 21 "VEINTIÚN ", 1,000,000 "UN MILLÓN DE ", 0 "CERO ".
    // Works from -999,999,999,999 to 999,999,999,999; a negative amount starts with "MENOS".
    static QString Numeros(qint64 importe);
    // The cents after the currency's name: 5 gives " 05".
    static QString Centavos(int centavos);

private:
    static QString menorDeMil(int n);
    static QString menorDeMillon(int n);
};
