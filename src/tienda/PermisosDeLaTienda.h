#pragma once

#include <QString>
#include <QVector>

class Conexion;

// What the program's MySQL account may do in a store, tried with statements that change
// nothing (an UPDATE of no row still needs the UPDATE privilege), each missing privilege named
// on its own. The reprint jobs need SELECT on the store's tables, UPDATE on remisionesdetalle,
// INSERT and DELETE on partidatallaocolor and reportesbin, and CREATE and DROP of their working
// tables; the invoice job also needs UPDATE on remisiones and sistema, INSERT on facturas and
// facturasdetalle, its own database tmpreprocesarem, and SELECT and INSERT on the archive
// database.
class PermisosDeLaTienda {
public:
    struct Falta {
        QString privilegio; // "DELETE", or "ALL PRIVILEGES" for the invoice job's database
        QString base;       // the database the privilege is missing in
        QString que;        // "DELETE en datos1.partidatallaocolor"
        QString error;      // the server's message
        bool soloFactura = false;
    };

    // The privileges the account lacks in the store's database (the connection's) and its
    // archive database; empty when it has them all.
    static QVector<Falta> Revisa(Conexion& cnn, const QString& resguardo);
    // The connection's account as GRANT names it: 'usuario'@'equipo'.
    static QString Cuenta(Conexion& cnn);
    // The GRANT statements that give the account exactly what it lacks, one per database.
    static QString Concesiones(const QVector<Falta>& faltas, const QString& cuenta);
};
