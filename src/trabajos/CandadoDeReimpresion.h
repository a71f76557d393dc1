#pragma once

#include "tienda/CandadoDelServidor.h"

#include <QString>
#include <optional>

class Conexion;

// One reprint at a time per store database: both reprint jobs share the working tables of the
// main database, so a named server lock, held by the connection that takes it until it lets it
// go, the object goes or the connection closes, keeps every other connection, on any
// workstation, from reprinting meanwhile.
class CandadoDeReimpresion {
public:
    explicit CandadoDeReimpresion(Conexion& cnn);

    // Takes the lock of the connection's database, also again after a lost connection; false
    // when another connection holds it, and Aviso() then says so.
    bool Toma();
    // Refuses (Rechazo) when the connection no longer holds the lock, as after the server
    // dropped it; a connection found gone throws its error.
    void Verifica() const;
    void Suelta();
    bool Tomado() const { return candado_ && candado_->Tomado(); }
    const QString& Aviso() const { return aviso_; }

    // The lock's name for a database, within the server's 64 characters.
    static QString Nombre(const QString& base);

private:
    Conexion& cnn_;
    std::optional<CandadoDelServidor> candado_;
    QString base_;
    QString aviso_;
};
