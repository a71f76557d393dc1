#pragma once

#include "OrdenDeConsola.h"

// deremisiones factura --desde --hasta --porcentaje --serie-factura --cliente [...] [--generar]:
// the invoice job's "Aplicar" without a window, its eight totals, and with --generar the invoice.
class OrdenFactura : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    int ejecuta(const QCommandLineParser& opciones) override;
};
