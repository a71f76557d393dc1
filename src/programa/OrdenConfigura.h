#pragma once

#include "OrdenDeConsola.h"

// deremisiones configura --carpeta-orvane DIR --servidor H [--puerto P] --usuario U --base B
// [--resguardo B2] [--impresora NOMBRE] [--plantillas DIR]: points the program at a store,
// the password read from standard input or asked without echo.
class OrdenConfigura : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    bool necesitaConfiguracion() const override { return false; }
    bool revisaLaCasaPorSuCuenta() const override { return true; }
    int ejecuta(const QCommandLineParser& opciones) override;
};
