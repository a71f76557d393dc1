#pragma once

#include "OrdenDeConsola.h"

// deremisiones porcentaje --inicial --final --porcentaje [--serie] [--imprimir] [--pdf]: the
// percentage job's "&Comprobar" without a window; prints the summary as the window shows it.
class OrdenPorcentaje : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    int ejecuta(const QCommandLineParser& opciones) override;
};
