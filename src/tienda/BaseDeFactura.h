#pragma once

#include <QString>

// The invoice job's own working database on the server, and the name of the server lock that
// keeps it to one window or command at a time.
struct BaseDeFactura {
    static QString Nombre() { return QStringLiteral("tmpreprocesarem"); }
    static QString Candado() { return QStringLiteral("deremisiones.tmpreprocesarem"); }
};
