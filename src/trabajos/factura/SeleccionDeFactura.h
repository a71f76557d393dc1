#pragma once

#include <QDate>
#include <QString>

// The notes an invoice is made from: a period (days inclusive), and when not empty a series, a
// client and a fragment of the name, taken literally; and the percentage their copies'
// quantities are reduced by.
struct SeleccionDeFactura {
    QDate desde, hasta;
    QString serie, cliente, nombre;
    float porcentaje = 0;

    // Refuses (Rechazo) dates that are not valid or not in order, or a percentage outside
    // 0 … 100.
    void Valida() const;
    // "remisiones where …": the open, posted, not invoiced notes that match.
    QString Condicion() const;
    // The inputs as the trail records them.
    QString Parametros() const;
    // A float as its shortest decimal text: 10, 12.5.
    static QString TextoDePorcentaje(float porcentaje);
};
