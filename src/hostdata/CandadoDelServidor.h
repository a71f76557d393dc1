#pragma once

#include <QString>

class Conexion;

// A named server lock (GET_LOCK) held by one connection: taken without waiting, checked before
// work that needs it, and let go explicitly or when the object goes while its connection is
// still open. The server also lets it go when the connection closes.
class CandadoDelServidor {
public:
    CandadoDelServidor(Conexion& cnn, QString nombre);
    ~CandadoDelServidor();
    CandadoDelServidor(const CandadoDelServidor&) = delete;
    CandadoDelServidor& operator=(const CandadoDelServidor&) = delete;

    // False when another connection holds it.
    bool Toma();
    // Whether this connection still holds it (the server drops it with a lost connection).
    bool EsPropio() const;
    void Suelta();
    bool Tomado() const { return tomado_; }
    // The address of the workstation whose connection holds it, when this account may see
    // the other connections; empty otherwise.
    QString QuienLoTiene() const;

private:
    Conexion& cnn_;
    QString nombre_;
    bool tomado_ = false;
};
