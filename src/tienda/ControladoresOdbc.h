#pragma once

#include <QString>
#include <QStringList>

// The ODBC drivers unixODBC knows, from its driver list (odbcinst.ini in $ODBCSYSINI, else
// /etc; $ODBCINSTINI names the file), and the one of MariaDB or MySQL that the program's data
// sources should name.
class ControladoresOdbc {
public:
    static QString Archivo();
    static QStringList Instalados();
    // The first driver whose name says MariaDB, else MySQL; "" when there is none.
    static QString DeMariaDB();
    // Whether the driver is in the list and its library can be loaded; why not in motivo.
    static bool Utilizable(const QString& nombre, QString* motivo = nullptr);
};
