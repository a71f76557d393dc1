#pragma once

#include <QString>

// The invoice job's settings in the program's ini, section «Configuración»: the archive
// database and the defaults the window starts from. A key missing or empty is written with its
// default, as every setting of the program is.
struct AjustesDeFactura {
    QString baseResguardo;
    QString serieRemisiones;
    QString serieFacturas;
    QString clienteFactura;
    QString clienteRemisiones;

    static AjustesDeFactura Lee();
    // «Base de datos de resguardo» alone, as the command line needs it.
    static QString BaseDeResguardo();
};
