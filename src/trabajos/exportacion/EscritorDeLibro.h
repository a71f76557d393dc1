#pragma once

#include "trabajos/exportacion/HojaDeCalculo.h"

#include <QByteArray>
#include <QString>

// Writes a job's export whole or not at all, through the program's checked writer: an .xlsx
// workbook made with libxlsxwriter (headers in bold, first row frozen, columns as wide as their
// texts, amounts as numbers shown with two decimals, dates as dates), or, when the name ends in
// .csv, comma-separated text in UTF-8 with a byte-order mark and CR LF, sheet after sheet. A file
// that cannot be written throws ErrorDeEscritura naming it and the cause.
class EscritorDeLibro {
public:
    static void Escribe(const LibroDeCalculo& libro, const QString& ruta);

    static bool EsCsv(const QString& ruta);
    // The name a clerk chose, with .xlsx added when it ends in neither .xlsx nor .csv.
    static QString ConExtension(const QString& ruta);
    // The book as CSV bytes.
    static QByteArray Csv(const LibroDeCalculo& libro);
    // The book as the bytes of an .xlsx file, made in the process's scratch folder; ruta names
    // the file in an error.
    static QByteArray Xlsx(const LibroDeCalculo& libro, const QString& ruta);
    // The width of a column: its longest text, header included, and a margin.
    static double Ancho(const HojaDeCalculo& hoja, int columna);
};
