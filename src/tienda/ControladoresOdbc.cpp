#include "tienda/ControladoresOdbc.h"

#include "orvlib/ArchivoIni.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

// Where unixODBC looks for a driver named without a folder.
QStringList carpetasDeBibliotecas(const QString& biblioteca) {
    QStringList rutas = {biblioteca};
    for (const char* carpeta :
         {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
          "/usr/lib/i386-linux-gnu/odbc", "/usr/lib/odbc", "/usr/lib64", "/usr/local/lib"}) {
        rutas << QDir(QString::fromLatin1(carpeta)).filePath(biblioteca);
    }
    return rutas;
}

} // namespace

QString ControladoresOdbc::Archivo() {
    const QString carpeta = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    return QDir(carpeta).filePath(
        qEnvironmentVariable("ODBCINSTINI", QStringLiteral("odbcinst.ini")));
}

QStringList ControladoresOdbc::Instalados() {
    QStringList nombres = ArchivoIni(Archivo()).secciones();
    nombres.removeAll(QStringLiteral("ODBC"));
    return nombres;
}

QString ControladoresOdbc::DeMariaDB() {
    const QStringList instalados = Instalados();
    for (const char* marca : {"mariadb", "mysql"}) {
        for (const QString& nombre : instalados) {
            if (nombre.toLower().contains(QString::fromLatin1(marca))) {
                return nombre;
            }
        }
    }
    return {};
}

bool ControladoresOdbc::Utilizable(const QString& nombre, QString* motivo) {
    const QString biblioteca = ArchivoIni(Archivo()).lee(nombre, QStringLiteral("Driver"));
    if (biblioteca.isEmpty()) {
        if (motivo != nullptr) {
            *motivo = QStringLiteral("el controlador «%1» no está en %2").arg(nombre, Archivo());
        }
        return false;
    }
    const QStringList rutas = QFileInfo(biblioteca).isAbsolute()
                                  ? QStringList{biblioteca}
                                  : carpetasDeBibliotecas(biblioteca);
    QString error;
    for (const QString& ruta : rutas) {
        QLibrary libreria(ruta);
        if (libreria.load()) {
            libreria.unload();
            return true;
        }
        error = libreria.errorString();
    }
    if (motivo != nullptr) {
        *motivo = QStringLiteral("la biblioteca %1 del controlador «%2» no se puede cargar: %3")
                      .arg(biblioteca, nombre, error);
    }
    return false;
}
