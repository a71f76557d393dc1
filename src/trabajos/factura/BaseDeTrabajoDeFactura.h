#pragma once

#include "tienda/BaseDeFactura.h"
#include "tienda/CandadoDelServidor.h"

#include <QString>

class Conexion;

// The invoice job's working database (tmpreprocesarem), one per server, and the server-wide
// named lock that keeps it to one window or command at a time.
class BaseDeTrabajoDeFactura {
public:
    // principal works on the host's database; temporal is opened on the working one.
    BaseDeTrabajoDeFactura(Conexion& principal, Conexion& temporal);

    // Takes the lock; false when another window or command, here or on another workstation,
    // holds it, which Ocupada() then tells the user.
    bool TomaLaBaseTemporal();
    // "la estación …, usuario …" of the connection that holds the lock, when the server says.
    QString QuienTieneLaBaseTemporal() const;
    static QString Ocupada(const QString& quien = {});
    // Refuses (Rechazo) when this connection no longer holds the lock, as after the server
    // dropped the connection.
    void VerificaLaBaseTemporal();
    void SueltaLaBaseTemporal();
    // Drops a working database left by an abnormal end and makes it anew.
    void PreparaBaseTemporal();
    void BorraBaseTemporal();

    static QString BaseTemporal() { return BaseDeFactura::Nombre(); }

protected:
    Conexion& principal_;
    Conexion& temporal_;

private:
    CandadoDelServidor candado_{principal_, BaseDeFactura::Candado()};
};
