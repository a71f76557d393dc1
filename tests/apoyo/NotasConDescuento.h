#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QDate>
#include <QVector>
#include <array>

class BaseDePrueba;

// The notes of a store whose IVA is charged on price plus IEPS, as the paper checks read them:
// every rate, fractional quantities, four-decimal prices, an amount on a half cent, notes that
// keep their line figures and old notes that do not, and header discounts of one, two and
// three steps with a product blocked for them.
struct LineaConDescuento {
    double cantidad;
    double precio;
    double iva;
    double ieps;
    bool bloqueado = false;
};

struct NotaConDescuento {
    int id;
    bool conCifras; // the host stored the line figures
    std::array<double, 5> descuentos;
    QVector<LineaConDescuento> lineas;
};

const CifrasDeLinea::Reglas kReglasConDescuento{true, false};

// The table: one row a note.
const QVector<NotaConDescuento>& NotasConDescuento();
// The line's figures as the host writes them.
CifrasDeLinea CifrasDeLaLinea(const NotaConDescuento& nota, const LineaConDescuento& linea,
                              double factorDeCantidad = 1);
// Writes the notes (folio 100 + id, series A, the given date) as the host does: each line's
// figures in cents on its net amount, the header their sums, Descuento what the discounts
// took, and the blocked products in productos. Sets configura's rule.
void EscribeNotasConDescuento(BaseDePrueba& base, const QDate& fecha);
// Subtotal + IVA + IEPS of a note as written, in cents.
qint64 TotalEnCentavos(const NotaConDescuento& nota);
