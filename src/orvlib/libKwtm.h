#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QDate>
#include <QString>

class QWidget;

// Core services of the host library: ini files, number and date texts, and the keyboard
// handling every entry field shares.
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

    // Selects the whole content of an entry field.
    static void Resalta(QWidget* control);
    // Up and down arrows move to the previous or next field; the key is then consumed (0).
    static void Teclas(int& tecla, QWidget* control);
    // Filters a typed character: kind "9" takes digits, sign, point and comma, "!" any
    // character. Enter moves to the next field. A refused or consumed character becomes 0.
    static void Enter(int& caracter, const QString& tipo, QWidget* control);

    // The value padded with fill to width: side 2 fills on the left, 1 on both sides, any other
    // on the right; a longer value is kept whole.
    static QString Pad(const QString& valor, int ancho, const QString& relleno, int lado);
};
