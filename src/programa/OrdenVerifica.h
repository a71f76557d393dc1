#pragma once

#include "OrdenDeConsola.h"

// deremisiones verifica: one line per piece a run needs, "correcto" or what is wrong and how to
// mend it; exits 0 only when every piece is right.
class OrdenVerifica : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    bool necesitaConfiguracion() const override { return false; }
    int ejecuta(const QCommandLineParser& opciones) override;
};
