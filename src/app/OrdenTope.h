#pragma once

#include "OrdenDeConsola.h"

// deremisiones tope --desde --hasta --tope --folio [--serie]: the cap job's "&Aplicar" without
// a window; prints the grid's rows and totals.
class OrdenTope : public OrdenDeConsola {
protected:
    void defineOpciones(QCommandLineParser& opciones) override;
    int ejecuta(const QCommandLineParser& opciones) override;
};
