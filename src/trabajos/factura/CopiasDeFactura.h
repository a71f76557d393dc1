#pragma once

#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/PartidasDeFactura.h"

#include <QVector>
#include <functional>

class Conexion;
struct SeleccionDeFactura;

// "Aplicar": copies a selection's notes and their lines into the working database, the lines'
// quantities reduced by the percentage, and totals the notes before and the invoice's lines
// after.
class CopiasDeFactura {
public:
    // principal works on the host's database, temporal on the working one. The selection's
    // amounts are checked against their limits before anything changes.
    static TotalesDeFactura Aplica(Conexion& principal, Conexion& temporal,
                                   const SeleccionDeFactura& seleccion,
                                   const std::function<void()>& alAvanzar);
    // The invoice's lines from the copies in the working database.
    static QVector<PartidaDeFactura> Partidas(Conexion& principal);

private:
    static void copia(Conexion& principal, Conexion& temporal, const SeleccionDeFactura& seleccion,
                      const std::function<void()>& alAvanzar);
    static TotalesDeFactura totales(Conexion& principal, Conexion& temporal);
};
