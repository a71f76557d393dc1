#include "tienda/OrigenesODBC.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/DelRegistro.h"
#include "servicios/Proceso.h"

void GrabaValorODBC(const QString& nombre, QString& valor, quint8 deReportes) {
    const QString n = nombre.toLower();
    const QString valorDe = n == QLatin1String("basededatos")   ? QStringLiteral("Database")
                            : n == QStringLiteral("contraseña") ? QStringLiteral("Password")
                            : n == QLatin1String("servidor")    ? QStringLiteral("Server")
                            : n == QLatin1String("usuario")     ? QStringLiteral("User")
                            : n == QLatin1String("puerto")      ? QStringLiteral("Port")
                                                                : QString();
    QString clave = QStringLiteral("Software\\ODBC\\ODBC.INI\\");
    if (deReportes != 0) {
        if (n == QLatin1String("basededatos")) {
            valor = QStringLiteral("orvanereportes");
        }
        clave += QStringLiteral("Orvane Reportes");
    } else {
        clave += QStringLiteral("myodbc3-test");
    }
    Proceso::actual().registro->GrabarCadena(clave, valorDe, valor);
}

void ActualizaOrigenesODBC() {
    const BasesDD& b = *Proceso::actual().bases;
    for (quint8 pasada : {0, 1}) {
        QString servidor = b.cRuta;
        QString contrasena = b.cPassword;
        QString usuario = b.cUsuario;
        QString puerto = QString::number(b.cPuerto);
        QString base = b.cMiBase;
        GrabaValorODBC(QStringLiteral("Servidor"), servidor, pasada);
        GrabaValorODBC(QStringLiteral("Contraseña"), contrasena, pasada);
        GrabaValorODBC(QStringLiteral("Usuario"), usuario, pasada);
        GrabaValorODBC(QStringLiteral("Puerto"), puerto, pasada);
        GrabaValorODBC(QStringLiteral("BaseDeDatos"), base, pasada);
    }
    // The driver's TLS keys follow the program's own connections.
    const ArchivoIni origenes(DelRegistro::ArchivoDeOrigenesOdbc(), ArchivoIni::Estilo::Unix);
    for (const QString& origen :
         {QStringLiteral("myodbc3-test"), QStringLiteral("Orvane Reportes")}) {
        for (const auto& [clave, valor] : b.cCifrado.clavesOdbc(origenes, origen)) {
            Proceso::actual().registro->GrabarCadena(
                QStringLiteral("Software\\ODBC\\ODBC.INI\\") + origen, clave, valor);
        }
    }
}
