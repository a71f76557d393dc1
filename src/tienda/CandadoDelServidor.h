#pragma once

#include <QString>

class Conexion;

// A named server lock (GET_LOCK) held by one connection: taken without waiting, checked before
// work that needs it, and let go explicitly or when the object goes while its connection is
// still open. The server also lets it go when the connection closes. Taken again after a lost
// connection, it waits a few seconds for a holder the server is still closing, and ends the
// holder that is this object's own earlier connection, which the server has not yet noticed
// is gone.
class CandadoDelServidor {
public:
    CandadoDelServidor(Conexion& cnn, QString nombre);
    ~CandadoDelServidor();
    CandadoDelServidor(const CandadoDelServidor&) = delete;
    CandadoDelServidor& operator=(const CandadoDelServidor&) = delete;

    // False when another connection holds it.
    bool Toma();
    // Seconds Toma waits for a holder that is being closed.
    static constexpr int kEspera = 5;
    // Seconds it waits for any other holder: a connection just ended shows as alive until
    // the server notices, and a live holder keeps the lock through this wait.
    static constexpr int kMomento = 1;
    // Whether this connection still holds it (the server drops it with a lost connection).
    bool EsPropio() const;
    void Suelta();
    bool Tomado() const { return tomado_; }
    // "la estación ADDRESS, usuario USER": the workstation and the server account of the
    // connection that holds it, when this account may see that connection (its own account's
    // connections, or all with PROCESS); empty otherwise.
    QString QuienLoTiene() const;

private:
    bool tomaSinEsperar();
    bool tomaEsperando(int segundos);
    // Whether the holder is on its way out: killed, or this object's own earlier connection,
    // which it then ends.
    bool seEstaCerrando(const QString& conexion);

    Conexion& cnn_;
    QString nombre_;
    bool tomado_ = false;
    // The connection that held it last, as the server named it: its id and its address with
    // the client's port, which together tell it from a later connection given the same id.
    QString idPropio_;
    QString hostPropio_;
};
