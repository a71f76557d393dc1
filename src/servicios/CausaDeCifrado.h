#pragma once

#include <QString>

// Why an encrypted connection to the server could not be set up, in Spanish and with what to
// do, from the TLS layer's own words (the client library's, the ODBC driver's or Qt's).
class CausaDeCifrado {
public:
    enum class Tipo { SinTls, Vencido, AunNoVigente, OtroNombre, Autoridad };

    static Tipo De(const QString& texto);
    static QString Explica(const QString& texto, const QString& servidor);
};
