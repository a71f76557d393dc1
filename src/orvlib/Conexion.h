#pragma once

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
    QSqlDatabase bd() const;
    // Why the last open failed, for the user.
    const QString& ultimoError() const { return ultimoError_; }

    void ejecuta(const QString& sentencia);
    QSqlQuery consulta(const QString& sentencia);
    // Runs a statement with bound values ('?' placeholders).
    QSqlQuery consulta(const QString& sentencia, const QVariantList& valores);

    bool abre(const QString& controlador, const QString& servidor, int puerto,
              const QString& usuario, const QString& contrasena, const QString& base);
    void cierra();

private:
    QSqlQuery prepara(const QString& sentencia, const QVariantList& valores);

    QString nombre_;
    QString ultimoError_;
};
