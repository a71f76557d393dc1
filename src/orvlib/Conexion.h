#pragma once

#include "orvlib/CifradoDeConexion.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"

#include <QHash>
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
    // refused, 1049 an unknown database, 2002/2003 no server, 2026 a TLS fault, kExigeCifrado a
    // server that takes the login only encrypted); -1 when it gave none.
    const QString& ultimoError() const { return ultimoError_; }
    int ultimoNumero() const { return ultimoNumero_; }

    void ejecuta(const QString& sentencia);
    // Runs a statement that returns no rows with bound values ('?' placeholders). On an SQLite
    // file the statement is kept prepared for the next call of the same text: a print run
    // writes the same few statements to its auxiliary file for every note.
    void ejecuta(const QString& sentencia, const QVariantList& valores);
    QSqlQuery consulta(const QString& sentencia);
    // Runs a statement with bound values ('?' placeholders).
    QSqlQuery consulta(const QString& sentencia, const QVariantList& valores);
    // Runs one statement with bound values once per row of values, prepared once.
    void ejecutaPorFilas(const QString& sentencia, const QVector<QVariantList>& filas);
    // The first column of the statement's first row as text; empty when it returns no row.
    QString valor(const QString& sentencia, const QVariantList& valores = {});

    // A MySQL server refuses a plain login with 1045, as it does a wrong password, when it
    // demands TLS (require_secure_transport, or a user made REQUIRE SSL); a plain login refused
    // is then tried once more encrypted, and when that one gets in the number is kExigeCifrado
    // (MySQL's own number for it).
    static constexpr int kExigeCifrado = NumerosDeError::kExigeCifrado;

    bool abre(const QString& controlador, const QString& servidor, int puerto,
              const QString& usuario, const QString& contrasena, const QString& base,
              const CifradoDeConexion& cifrado = {});
    void cierra();

    // Whether the open connection goes encrypted: its cipher, empty when plain.
    QString cifra();

private:
    QSqlQuery prepara(const QString& sentencia, const QVariantList& valores);

    QString nombre_;
    QHash<QString, QSqlQuery> preparadas_;
    QString ultimoError_;
    int ultimoNumero_ = -1;
};
