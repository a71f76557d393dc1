#pragma once

#include "trabajos/tope/NotasElegidas.h"

#include <QDialog>

// "Remisiones elegidas": the notes a cap run chose for one day (original folio, customer,
// total, new folio), with the day's share of the cap and what was chosen against it.
class VentanaDeRemisionesDelDia : public QDialog {
public:
    VentanaDeRemisionesDelDia(const DiaDeTope& dia, Importe parte,
                              const QVector<NotaElegida>& notas, QWidget* parent = nullptr);
};
