#pragma once

#include <QList>
#include <QPair>
#include <QString>

class ArchivoIni;

// Whether the connections to the store's server go encrypted (TLS), and which certificate
// authority the server's certificate is checked against (the system's when none is named);
// kept in DeRemisiones.ini as the keys TLS and CA of [Configuración].
struct CifradoDeConexion {
    bool activo = false;
    QString autoridad; // the authority's certificate (PEM file); empty: the system's

    // The MySQL driver's connect options, empty when not encrypted.
    QString opcionesQt() const;
    // The MariaDB ODBC driver's keys for that data source of the file: every one when encrypted;
    // when not, those the data source has, put back to plain, and none for one that never had.
    QList<QPair<QString, QString>> clavesOdbc(const ArchivoIni& origenes,
                                              const QString& origen) const;
    // Connect options that ask for TLS without checking the certificate: only to learn whether
    // a server that refused a plain login would take an encrypted one.
    static QString OpcionesDeSondeo() { return QStringLiteral("SSL_CIPHER="); }
    // The folder of the system's certificate authorities.
    static QString AutoridadesDelSistema() { return QStringLiteral("/etc/ssl/certs"); }
};
