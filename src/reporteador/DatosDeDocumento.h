#pragma once

#include "reporteador/OrigenDeDatos.h"

#include <QHash>
#include <QVector>

// The data of one document: the main table's row, the rows of the single-row and looked-up
// tables, and its detail rows with the rows looked up for each.
struct DatosDeDocumento {
    struct Renglon {
        Fila fila;
        QHash<QString, Fila> busquedas; // by table name in lower case
    };
    Fila principal;
    QHash<QString, Fila> unicas;
    QVector<Renglon> detalle;
};
