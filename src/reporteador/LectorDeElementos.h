#pragma once

#include "reporteador/LectorDeLinea.h"
#include "reporteador/Plantilla.h"

#include <optional>

// Reads the statement of one element of a band (texto, linea, caja, imagen, renglones): its
// place and size, its text or image, and its options, each value checked.
class LectorDeElementos {
public:
    // The element a statement's first word names; none when it names no element.
    static std::optional<ElementoDePlantilla::Tipo> TipoDe(const QString& orden);
    static ElementoDePlantilla Lee(ElementoDePlantilla::Tipo tipo, LectorDeLinea& l);
};
