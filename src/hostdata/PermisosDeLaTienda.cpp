#include "hostdata/PermisosDeLaTienda.h"

#include "hostdata/BaseDeFactura.h"
#include "hostdata/CandadoDelServidor.h"
#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>

namespace {

const QString kTablaDePrueba = QStringLiteral("deremisiones_permisos");

struct Prueba {
    const char* que;
    const char* sentencia; // %1 the store's database, %2 the archive's
    bool soloFactura;
};

// Each statement touches no row.
const Prueba kPruebas[] = {
    {"SELECT en %1",
     "SELECT 1 FROM %1.remisiones, %1.remisionesdetalle, %1.configura, %1.sistema, "
     "%1.clientes, %1.monedas, %1.empresas, %1.reportesbin LIMIT 0",
     false},
    {"UPDATE en %1.remisionesdetalle", "UPDATE %1.remisionesdetalle SET IVA=IVA WHERE 1=0", false},
    {"INSERT y DELETE en %1.partidatallaocolor",
     "INSERT INTO %1.partidatallaocolor SELECT * FROM %1.partidatallaocolor WHERE 1=0", false},
    {"INSERT y DELETE en %1.partidatallaocolor", "DELETE FROM %1.partidatallaocolor WHERE 1=0",
     false},
    {"INSERT y DELETE en %1.reportesbin",
     "INSERT INTO %1.reportesbin SELECT * FROM %1.reportesbin WHERE 1=0", false},
    {"INSERT y DELETE en %1.reportesbin", "DELETE FROM %1.reportesbin WHERE 1=0", false},
    {"UPDATE en %1.remisiones", "UPDATE %1.remisiones SET Cancelada=Cancelada WHERE 1=0", true},
    {"UPDATE en %1.sistema", "UPDATE %1.sistema SET Contenido=Contenido WHERE 1=0", true},
    {"INSERT en %1.facturas", "INSERT INTO %1.facturas SELECT * FROM %1.facturas WHERE 1=0", true},
    {"INSERT en %1.facturasdetalle",
     "INSERT INTO %1.facturasdetalle SELECT * FROM %1.facturasdetalle WHERE 1=0", true},
    {"SELECT e INSERT en la base de resguardo %2",
     "INSERT INTO %2.remisiones SELECT * FROM %2.remisiones WHERE 1=0", true},
    {"SELECT e INSERT en la base de resguardo %2",
     "INSERT INTO %2.remisionesdetalle SELECT * FROM %2.remisionesdetalle WHERE 1=0", true},
};

void agrega(QVector<PermisosDeLaTienda::Falta>& faltas, const QString& que, const ErrorOrvlib& e,
            bool soloFactura) {
    for (const PermisosDeLaTienda::Falta& f : faltas) {
        if (f.que == que) {
            return;
        }
    }
    faltas.append(
        {que, QStringLiteral("Error nº %1: %2").arg(e.numero()).arg(e.descripcion()), soloFactura});
}

// The working tables: made and dropped again, in the store's database.
void pruebaTablasDeTrabajo(Conexion& cnn, const QString& base, const QString& nombre,
                           QVector<PermisosDeLaTienda::Falta>& faltas) {
    const QString tabla = base + QLatin1Char('.') + Sentencias::Nombre(kTablaDePrueba);
    try {
        cnn.ejecuta(QStringLiteral("DROP TABLE IF EXISTS ") + tabla);
        cnn.ejecuta(QStringLiteral("CREATE TABLE %1 LIKE %2.remisiones").arg(tabla, base));
        cnn.ejecuta(QStringLiteral("DROP TABLE ") + tabla);
    } catch (const ErrorOrvlib& e) {
        agrega(faltas, QStringLiteral("CREATE y DROP de tablas en ") + nombre, e, false);
    }
}

// The invoice job's own database, tried under its lock so that no invoice window or command
// starts using it meanwhile; skipped while one is using it.
void pruebaBaseDeFactura(Conexion& cnn, const QString& base,
                         QVector<PermisosDeLaTienda::Falta>& faltas) {
    CandadoDelServidor candado(cnn, BaseDeFactura::Candado());
    if (!candado.Toma()) {
        return;
    }
    const QString nombre = BaseDeFactura::Nombre();
    try {
        cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre);
        cnn.ejecuta(QStringLiteral("CREATE DATABASE ") + nombre);
        cnn.ejecuta(
            QStringLiteral("CREATE TABLE %1.remisiones LIKE %2.remisiones").arg(nombre, base));
        cnn.ejecuta(QStringLiteral("DROP DATABASE ") + nombre);
    } catch (const ErrorOrvlib& e) {
        agrega(faltas, QStringLiteral("todos los permisos en la base de trabajo ") + nombre, e,
               true);
        try {
            cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre);
        } catch (const ErrorOrvlib&) {
            // Already reported above; a database the account cannot drop stays for its
            // administrator.
        }
    }
}

} // namespace

QVector<PermisosDeLaTienda::Falta> PermisosDeLaTienda::Revisa(Conexion& cnn,
                                                              const QString& resguardo) {
    const QString nombre = cnn.valor(QStringLiteral("SELECT DATABASE()"));
    const QString base = Sentencias::Nombre(nombre);
    // Each text names one database or the other, not always both.
    const auto conBases = [](const char* texto, const QString& principal, const QString& otra) {
        return QString::fromLatin1(texto)
            .replace(QLatin1String("%1"), principal)
            .replace(QLatin1String("%2"), otra);
    };
    QVector<Falta> faltas;
    for (const Prueba& p : kPruebas) {
        try {
            cnn.ejecuta(conBases(p.sentencia, base, Sentencias::Nombre(resguardo)));
        } catch (const ErrorOrvlib& e) {
            agrega(faltas, conBases(p.que, nombre, resguardo), e, p.soloFactura);
        }
    }
    pruebaTablasDeTrabajo(cnn, base, nombre, faltas);
    pruebaBaseDeFactura(cnn, base, faltas);
    return faltas;
}

QString PermisosDeLaTienda::Cuenta(Conexion& cnn) {
    const QString usuario = cnn.valor(QStringLiteral("SELECT CURRENT_USER()"));
    const qsizetype arroba = usuario.lastIndexOf(QLatin1Char('@'));
    return QStringLiteral("'%1'@'%2'").arg(usuario.left(arroba), usuario.mid(arroba + 1));
}

QString PermisosDeLaTienda::Concesiones(const QString& base, const QString& resguardo,
                                        const QString& cuenta) {
    return QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP ON %1.* TO %4;\n"
                          "GRANT SELECT, INSERT ON %2.* TO %4;\n"
                          "GRANT ALL PRIVILEGES ON %3.* TO %4;")
        .arg(Sentencias::Nombre(base), Sentencias::Nombre(resguardo), BaseDeFactura::Nombre(),
             cuenta);
}
