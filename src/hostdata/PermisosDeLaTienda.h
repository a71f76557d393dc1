#pragma once

#include <QString>
#include <QVector>

class Conexion;

// What the program's MySQL account may do in a store, tried with statements that change
// nothing (an UPDATE of no row still needs the UPDATE privilege). The reprint jobs need
// SELECT on the store's tables, UPDATE on remisionesdetalle, INSERT and DELETE on
// partidatallaocolor and reportesbin, and CREATE and DROP of their working tables; the
// invoice job also needs UPDATE on remisiones and sistema, INSERT on facturas and
// facturasdetalle, its own database tmpreprocesarem and INSERT on the archive database.
class PermisosDeLaTienda {
public:
    struct Falta {
        QString que;   // "UPDATE en datos1.remisiones"
        QString error; // the server's message
        bool soloFactura = false;
    };

    // The privileges the account lacks in the store's database (the connection's) and its
    // archive database; empty when it has them all.
    static QVector<Falta> Revisa(Conexion& cnn, const QString& resguardo);
    // The connection's account as GRANT names it: 'usuario'@'equipo'.
    static QString Cuenta(Conexion& cnn);
    // The GRANT statements that give an account everything the program needs.
    static QString Concesiones(const QString& base, const QString& resguardo,
                               const QString& cuenta);
};
