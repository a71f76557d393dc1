#pragma once

#include "tienda/Importe.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QDate>
#include <QString>
#include <QVector>

class Conexion;

// A note the cap job chose: its original series and folio, customer and total, and the folio of
// its copy.
struct NotaElegida {
    QString serie;
    qint64 folioOriginal = 0;
    QString cliente;
    QString nombre;
    Importe total;
    qint64 folioNuevo = 0;
};

// What a clerk sees of a cap run before printing: which notes each day took, the day's share
// of the cap, and how far the chosen total stands from the cap and why.
class NotasElegidas {
public:
    // The chosen notes of a day, read from the working copies (new folio order) joined to the
    // host's notes (original folio, customer, total).
    static QVector<NotaElegida> DelDia(Conexion& cnn, const QDate& fecha);
    // The day's share of the cap: tope × the day's real total ÷ the period's, in cents.
    static Importe ParteDelTope(const DiaDeTope& dia, const ResultadoDeTope& resultado,
                                Importe tope);
    // «Elegido 67,913.69 de un tope de 60,000.00 (cada día incluye la remisión que alcanza su
    // parte)».
    static QString Resumen(const ResultadoDeTope& resultado, Importe tope);
};
