#include "orvlib/CifradoDeConexion.h"

#include "orvlib/ArchivoIni.h"

QString CifradoDeConexion::opcionesQt() const {
    if (!activo) {
        return {};
    }
    // With an authority (file or folder) the client library checks the server's certificate
    // chain and refuses the connection when it does not lead to it.
    return autoridad.isEmpty() ? QStringLiteral("SSL_CAPATH=") + AutoridadesDelSistema()
                               : QStringLiteral("SSL_CA=") + autoridad;
}

QList<QPair<QString, QString>> CifradoDeConexion::clavesOdbc(const ArchivoIni& origenes,
                                                             const QString& origen) const {
    const QString si = activo ? QStringLiteral("1") : QStringLiteral("0");
    const QList<QPair<QString, QString>> claves = {
        {QStringLiteral("FORCETLS"), si},
        {QStringLiteral("SSLVERIFY"), si},
        {QStringLiteral("SSLCA"), activo ? autoridad : QString()},
        {QStringLiteral("SSLCAPATH"),
         activo && autoridad.isEmpty() ? AutoridadesDelSistema() : QString()},
    };
    QList<QPair<QString, QString>> porEscribir;
    for (const auto& clave : claves) {
        if (activo || !origenes.lee(origen, clave.first).isEmpty()) {
            porEscribir << clave;
        }
    }
    return porEscribir;
}
