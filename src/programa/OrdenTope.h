#pragma once

#include "OrdenDeConsola.h"

// deremisiones tope --desde --hasta --tope --folio [--serie]: the cap job's "&Aplicar" without
// a window; prints the grid's rows and totals.
class OrdenTope : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    int ejecuta(const QCommandLineParser& opciones) override;
};
