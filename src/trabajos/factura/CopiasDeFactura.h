#pragma once

#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/PartidasDeFactura.h"

#include <QVector>
#include <functional>

class Conexion;
struct SeleccionDeFactura;

// What "Aplicar" left: the invoice's lines it totalled and the server's checksum of the
// working copies they came from.
struct CopiasAplicadas {
    QVector<PartidaDeFactura> partidas;
    QString huella;
};

// "Aplicar": copies a selection's notes and their lines into the working database, the lines'
// quantities reduced by the percentage, and totals the notes before and the invoice's lines
// after.
class CopiasDeFactura {
public:
    // principal works on the host's database, temporal on the working one. The selection's
    // amounts are checked against their limits before anything changes.
    static TotalesDeFactura Aplica(Conexion& principal, Conexion& temporal,
                                   const SeleccionDeFactura& seleccion,
                                   const std::function<void()>& alAvanzar,
                                   CopiasAplicadas& aplicadas);
    // The invoice's lines from the copies in the working database.
    static QVector<PartidaDeFactura> Partidas(Conexion& principal);
    // The server's checksum of the working copies, headers and lines: any row changed, added
    // or taken away changes it.
    static QString Huella(Conexion& principal);

private:
    static void copia(Conexion& principal, Conexion& temporal, const SeleccionDeFactura& seleccion,
                      const std::function<void()>& alAvanzar);
    static TotalesDeFactura totales(Conexion& temporal, const QVector<PartidaDeFactura>& partidas);
};
