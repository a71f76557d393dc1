#pragma once

#include "orvlib/CifradoDeConexion.h"

#include <QString>

// Checks, before any login, the TLS a MySQL server offers on its port the way the report
// engine's data sources do: that it offers TLS at all, and that its certificate leads to the
// authority given (or the system's), is in force and is issued for the name the store uses to
// reach it. Nothing but the server's greeting and the TLS handshake goes over the wire.
class CertificadoDelServidor {
public:
    struct Resultado {
        bool comprobado = false; // the handshake was reached and judged
        int numero = -1;         // the client library's number for a TLS fault; -1 when sound
        QString texto;           // the fault, as the TLS layer words it
    };

    static Resultado Revisa(const QString& servidor, int puerto, const CifradoDeConexion& cifrado);
};
