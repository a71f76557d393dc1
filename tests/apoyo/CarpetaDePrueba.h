#pragma once

#include "apoyo/ImpresionQt.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A scratch program folder and configuration folder for one test: DEREMISIONES_CARPETA and
// XDG_CONFIG_HOME point into it and ODBCINI at an empty data sources file until the object goes.
class CarpetaDePrueba {
public:
    CarpetaDePrueba();
    ~CarpetaDePrueba();

    QString programa() const;
    // The ODBC data sources file (ODBCINI), emptied for each test.
    QString archivoOdbc() const;
    QString ruta(const QString& nombre) const;
    // Registers a host installation for the folder with the private server's address.
    void registraInstalacion(const QString& carpetaHost) const;

    // Creates the report engine's two ODBC data sources on the MariaDB driver, as an
    // installation has them; the program fills in the server and database.
    void registraOrigenesOdbc() const;

    static QByteArray lee(const QString& ruta);
    static void escribe(const QString& ruta, const QByteArray& bytes);

private:
    QTemporaryDir dir_;
    QByteArray antes_[3];
};
