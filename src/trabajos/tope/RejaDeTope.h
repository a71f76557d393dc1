#pragma once

#include "trabajos/tope/ReimpresionConTope.h"

#include <QStringList>
#include <QVector>

// The texts of the cap job's grid, as the window and the command line show them: one row per
// day (number, day, real total, total to print, notes, folios) and the totals row.
class RejaDeTope {
public:
    static QStringList Encabezados();
    static QVector<QStringList> Filas(const ResultadoDeTope& resultado);
    static QStringList Totales(const ResultadoDeTope& resultado);
    static QString Dinero(Importe importe);
};
