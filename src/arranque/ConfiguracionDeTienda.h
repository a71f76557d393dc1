#pragma once

#include "orvlib/CifradoDeConexion.h"

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
    CifradoDeConexion cifrado;   // TLS to the server, for the program and the data sources
    // The options of configura's command line that were given ("puerto", "resguardo", …): the
    // advice for another account repeats those and no other.
    QStringList dadas;
};

// Points the program at a store in one step. First it checks everything: the files and
// folders it writes (this account must be able to write them), the ODBC driver, the login, the
// store's tables, the account's privileges and the templates; any fault is refused (Rechazo)
// with nothing written. Then it stores the templates the store lacks and writes the
// installation's section (user and password obfuscated), the program's ini, both ODBC data
// sources and, when asked, the printer of the delivery notes; a write that fails puts every
// file back as it was. Files that existed keep their owner, group and mode.
class ConfiguracionDeTienda {
public:
    // What it did, a line each. Throws Rechazo, with nothing written, when the store cannot
    // be used as given, and std::runtime_error, with every file as it was, when a write fails.
    static QStringList Aplica(DatosDeTienda datos);
    // Refuses (Rechazo) data that lacks what Aplica needs, before anything is asked or opened.
    static void Valida(const DatosDeTienda& datos);
    // Why a connection to the store could not open, in words an installer can act on.
    static QString MotivoDeConexion(const Conexion& cnn, const QString& servidor, int puerto,
                                    const QString& usuario, const QString& base);
    // The host folder as it is registered: absolute, without a final separator.
    static QString CarpetaNormalizada(const QString& carpeta);
    // The command that configures that account with the options given (the required ones and
    // those in datos.dadas), with sudo and, where there is no sudo, with runuser.
    static QString OrdenParaLaCuenta(const DatosDeTienda& datos, const QString& cuenta);
    // The program's own ini, in the program folder.
    static QString ArchivoDelPrograma();
};
