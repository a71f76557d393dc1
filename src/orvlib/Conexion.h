#pragma once

#include "orvlib/Sentencias.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// One database connection of the program (MySQL server or auxiliary SQLite file), opened and
// closed through BasesDD. Failed statements throw ErrorOrvlib with the server's number and
// message and the statement.
class Conexion {
public:
    Conexion();
    ~Conexion();
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    bool abierta() const;
    // The rules of its database for names and texts in statements.
    Sentencias::Motor motor() const;
    QSqlDatabase bd() const;
    // Why the last open failed, for the user, and the server's number for it (1045 a login
    // refused, 1049 an unknown database, 2002/2003 no server); -1 when it gave none.
    const QString& ultimoError() const { return ultimoError_; }
    int ultimoNumero() const { return ultimoNumero_; }

    void ejecuta(const QString& sentencia);
    QSqlQuery consulta(const QString& sentencia);
    // Runs a statement with bound values ('?' placeholders).
    QSqlQuery consulta(const QString& sentencia, const QVariantList& valores);
    // The first column of the statement's first row as text; empty when it returns no row.
    QString valor(const QString& sentencia, const QVariantList& valores = {});

    bool abre(const QString& controlador, const QString& servidor, int puerto,
              const QString& usuario, const QString& contrasena, const QString& base);
    void cierra();

private:
    QSqlQuery prepara(const QString& sentencia, const QVariantList& valores);

    QString nombre_;
    QString ultimoError_;
    int ultimoNumero_ = -1;
};
