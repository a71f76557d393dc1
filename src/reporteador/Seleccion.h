#pragma once

#include "orvlib/Sentencias.h"

#include <QString>

// Turns a record selection such as {Remisiones.Id}=4711 and {Remisiones.Serie}<>'B' into the
// WHERE condition of the main table's query. It takes comparisons (=, <>, <, <=, >, >=) of a
// field of the main table with a number or a quoted text, joined by and/or, negated by not, and
// grouped by parentheses, quoted for the database that holds the table. Throws ErrorDeReporte
// 20515 for anything else.
class Seleccion {
public:
    static QString CondicionSql(const QString& seleccion, const QString& tablaPrincipal,
                                Sentencias::Motor motor = Sentencias::Motor::MySQL);
};
