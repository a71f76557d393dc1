#pragma once

#include "trabajos/exportacion/HojaDeCalculo.h"

#include <QPushButton>
#include <functional>

// «Exportar…» of a job window: asks where to save the run's book (through the dialog service),
// writes it whole as .xlsx, or .csv when the name says so, and says where it went. Nothing
// happens when the clerk cancels. Disabled until the window has a result of its inputs.
class BotonDeExportar : public QPushButton {
public:
    explicit BotonDeExportar(QWidget* parent = nullptr);

    // Runs inside the window's event boundary, which says what failed. The folder proposed is
    // the last one used in this session, else the user's documents.
    void Exporta(const QString& nombrePropuesto, const std::function<LibroDeCalculo()>& libro);
};
