#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// An exported spreadsheet read back as a spreadsheet program reads it. From an .xlsx (a zip of
// XML, opened with the unzip command): each sheet's name, each cell's stored value (a number as
// written, a text resolved from the shared strings) and number format, whether the first row is
// frozen, and the columns' widths. From a .csv: its lines split into fields.
struct HojaLeida {
    QString nombre;
    QVector<QStringList> celdas;
    QVector<QStringList> formatos;
    bool primeraFilaFija = false;
    QVector<double> anchos;

    QString celda(int fila, int columna) const;
    QString formato(int fila, int columna) const;
};

QVector<HojaLeida> LeeXlsx(const QString& ruta);
// The fields of each line, quotes taken off; the bytes must be UTF-8 with a byte-order mark
// and CR LF line ends, else the test fails.
QVector<QStringList> LeeCsv(const QByteArray& bytes);
// A date as the number a workbook stores for it.
QString SerieDeFecha(int anio, int mes, int dia);
