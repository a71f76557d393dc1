#pragma once

#include "tienda/Decimal.h"
#include "tienda/Importe.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <variant>

// One sheet of a job's export, as the clerk hands it to the accountant: its name, its columns
// with their Spanish headers and the kind of value each holds, one row per note or line of the
// run, and the totals rows under them.
struct HojaDeCalculo {
    // How a column's values are written: money with two decimals, a unit price with four, a
    // quantity or a rate as exact as it is, a date, a whole number, a text.
    enum class Tipo { Texto, Entero, Dinero, Precio, Cantidad, Tasa, Fecha };
    struct Columna {
        QString encabezado;
        Tipo tipo;
    };
    // An empty cell, a text, a whole number, an amount, a quantity or rate, a date; each column
    // holds the kind its Tipo says.
    using Valor = std::variant<std::monostate, QString, qint64, Importe, Decimal, QDate>;
    using Fila = QVector<Valor>;

    QString nombre;
    QVector<Columna> columnas;
    QVector<Fila> filas;
    QVector<Fila> totales;

    // The value as a cell shows it: money "1,234.50", a price "12.3450", a date "01/12/2026".
    static QString Texto(const Valor& valor, Tipo tipo);
};

using LibroDeCalculo = QVector<HojaDeCalculo>;
