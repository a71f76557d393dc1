#pragma once

#include <QString>

class Conexion;

// One reprint at a time per store database: both reprint jobs share the working tables of the
// main database, so a named server lock, held by the connection that takes it until it lets it
// go or closes, keeps every other connection, on any workstation, from reprinting meanwhile.
class CandadoDeReimpresion {
public:
    explicit CandadoDeReimpresion(Conexion& cnn);

    // Takes the lock of the connection's database; false when another connection holds it,
    // and Aviso() then says so.
    bool Toma();
    // Refuses (Rechazo) when the connection no longer holds the lock, as after the server
    // dropped it.
    void Verifica() const;
    void Suelta();
    bool Tomado() const { return tomado_; }
    const QString& Aviso() const { return aviso_; }

    // The lock's name for a database, within the server's 64 characters.
    static QString Nombre(const QString& base);

private:
    QString quienLoTiene() const;

    Conexion& cnn_;
    QString nombre_;
    QString aviso_;
    bool tomado_ = false;
};
