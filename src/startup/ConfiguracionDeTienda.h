#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// What points the program at a store.
struct DatosDeTienda {
    QString carpetaOrvane; // the host folder: where Orvane.ini and the global-invoice list go
    QString servidor;
    int puerto = 3306;
    QString usuario;
    QString contrasena;
    QString base;
    QString resguardo = QStringLiteral("datos2");
    QString impresora;           // of the delivery notes; empty leaves Orvane.ini alone
    QString carpetaDePlantillas; // the shipped templates
};

// Points the program at a store in one step: checks that the account can log in to the
// store's database and has the privileges the jobs need, stores the shipped templates when the
// store has none, then writes the installation's section (user and password obfuscated), the
// program's ini, both ODBC data sources on the installed MariaDB/MySQL driver and, when asked,
// the printer of the delivery notes. Every check comes before the first file is written.
class ConfiguracionDeTienda {
public:
    // What it did, a line each. Throws Rechazo, with nothing written, when the store cannot
    // be used as given.
    static QStringList Aplica(DatosDeTienda datos);
    // Refuses (Rechazo) data that lacks what Aplica needs, before anything is asked or opened.
    static void Valida(const DatosDeTienda& datos);
    // Why a connection to the store could not open, in words an installer can act on.
    static QString MotivoDeConexion(const Conexion& cnn, const QString& servidor, int puerto,
                                    const QString& usuario, const QString& base);
    // The host folder as it is registered: absolute, without a final separator.
    static QString CarpetaNormalizada(const QString& carpeta);
};
