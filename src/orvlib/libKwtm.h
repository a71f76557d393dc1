#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QDate>
#include <QString>

// Core services of the host library: ini files, number and date texts. Its keyboard members
// (Resalta, Teclas, Enter) live with the entry fields' behaviours, which the windows own.
class libKwtm : public ObjetoOrvlib {
public:
    // "" when the file, section or key is missing.
    static QString LeeIni(const QString& seccion, const QString& clave, const QString& archivo);
    static void EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                           const QString& archivo);

    // The number in a text such as "1,234.50" or "$ 12"; 0 for empty or non-numeric text.
    static double kwVal(const QString& texto);

    // Date texts: yyyy-mm-dd for statements, dd/mm/yyyy in the masked date boxes.
    static QString FechaSQL(const QDate& fecha);
    static QString MascaraFecha() { return QStringLiteral("99/99/9999;_"); }
    static QString FormatoFecha() { return QStringLiteral("dd/MM/yyyy"); }
    static QString FechaVacia() { return QStringLiteral("__/__/____"); }
    // The date a box's text holds; an invalid date when it holds none.
    static QDate LeeFecha(const QString& texto);
    static QString TextoDeFecha(const QDate& fecha);

    // The value padded with fill to width: side 2 fills on the left, 1 on both sides, any other
    // on the right; a longer value is kept whole.
    static QString Pad(const QString& valor, int ancho, const QString& relleno, int lado);
};
