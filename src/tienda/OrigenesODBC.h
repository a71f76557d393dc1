#pragma once

#include <QString>

// Keeps the report engine's two ODBC data sources, "myodbc3-test" and "Orvane Reportes", on the
// server, port, user, password and database the program works on (the second one on the fixed
// reports database "orvanereportes"), and on the program's TLS setting.
void ActualizaOrigenesODBC();
// Writes one value: nombre is "Servidor", "Contraseña", "Usuario", "Puerto" or "BaseDeDatos";
// deReportes 0 writes "myodbc3-test", any other value "Orvane Reportes".
void GrabaValorODBC(const QString& nombre, QString& valor, quint8 deReportes);
