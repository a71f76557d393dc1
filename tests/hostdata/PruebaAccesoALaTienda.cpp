#include "hostdata/ControladoresOdbc.h"
#include "hostdata/PermisosDeLaTienda.h"
#include "support/BaseDePrueba.h"
#include "support/CarpetaDePrueba.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

// unixODBC's driver list in a folder of the test's, as ODBCSYSINI names it.
class ListaDeControladores {
public:
    ListaDeControladores(const CarpetaDePrueba& carpeta, const QByteArray& contenido)
        : antes_(qgetenv("ODBCSYSINI")) {
        CarpetaDePrueba::escribe(carpeta.ruta(QStringLiteral("odbcsys/odbcinst.ini")), contenido);
        qputenv("ODBCSYSINI", carpeta.ruta(QStringLiteral("odbcsys")).toUtf8());
    }
    ~ListaDeControladores() {
        if (antes_.isNull()) {
            qunsetenv("ODBCSYSINI");
        } else {
            qputenv("ODBCSYSINI", antes_);
        }
    }

private:
    QByteArray antes_;
};

TEST(ControladoresOdbc, ElDeMariaDBOElDeMySQLYSiSePuedeCargar) {
    CarpetaDePrueba carpeta;
    const struct {
        const char* lista;
        const char* elegido;
    } casos[] = {
        {"[PostgreSQL Unicode]\nDriver=psqlodbcw.so\n[MySQL ODBC 8.0 Unicode Driver]\nDriver=x.so\n"
         "[MariaDB Unicode]\nDriver=libmaodbc.so\n",
         "MariaDB Unicode"},
        {"[ODBC]\nTrace=No\n[MySQL ODBC 5.3 ANSI Driver]\nDriver=/opt/libmyodbc5a.so\n",
         "MySQL ODBC 5.3 ANSI Driver"},
        {"[PostgreSQL Unicode]\nDriver=psqlodbcw.so\n", ""},
        {"", ""},
    };
    for (const auto& c : casos) {
        ListaDeControladores lista(carpeta, c.lista);
        EXPECT_EQ(ControladoresOdbc::DeMariaDB(), QString::fromLatin1(c.elegido)) << c.lista;
    }
    ListaDeControladores lista(carpeta, "[Roto]\nDriver=/no/existe/libroto.so\n");
    QString motivo;
    EXPECT_FALSE(ControladoresOdbc::Utilizable(QStringLiteral("Roto"), &motivo));
    EXPECT_TRUE(motivo.contains(QStringLiteral("/no/existe/libroto.so"))) << qPrintable(motivo);
    EXPECT_FALSE(ControladoresOdbc::Utilizable(QStringLiteral("Ninguno"), &motivo));
    EXPECT_TRUE(motivo.contains(QStringLiteral("no está en"))) << qPrintable(motivo);
}

// The system's own list: the driver the tests and the demo use loads.
TEST(ControladoresOdbc, ElInstaladoEnElSistemaSeCarga) {
    QString motivo;
    ASSERT_FALSE(ControladoresOdbc::DeMariaDB().isEmpty());
    EXPECT_TRUE(ControladoresOdbc::Utilizable(ControladoresOdbc::DeMariaDB(), &motivo))
        << qPrintable(motivo);
}

// A user of the store's server with only some privileges, dropped after the test.
class UsuarioLimitado {
public:
    UsuarioLimitado(BaseDePrueba& base, const QString& permisos)
        : base_(base) {
        base_.ejecuta(QStringLiteral("DROP USER IF EXISTS %1").arg(cuenta()));
        base_.ejecuta(QStringLiteral("CREATE USER %1 IDENTIFIED BY 'x'").arg(cuenta()));
        base_.ejecuta(permisos.arg(base_.nombre(), cuenta()));
    }
    ~UsuarioLimitado() { base_.ejecuta(QStringLiteral("DROP USER IF EXISTS %1").arg(cuenta())); }
    bool conecta(Conexion& cnn) {
        const BasesDD& b = base_.bases();
        return cnn.abre(QStringLiteral("QMYSQL"), b.cRuta, b.cPuerto, nombre(), QStringLiteral("x"),
                        base_.nombre());
    }
    static QString nombre() {
        return QStringLiteral("limitado_%1").arg(QCoreApplication::applicationPid());
    }
    static QString cuenta() { return QStringLiteral("'%1'@'%'").arg(nombre()); }

private:
    BaseDePrueba& base_;
};

TEST(PermisosDeLaTienda, NombraLoQueLeFaltaALaCuentaSinCambiarNada) {
    BaseDePrueba base;
    const QString resguardo = base.creaBaseAdicional(QStringLiteral("resguardo"));
    base.ejecuta(QStringLiteral("CREATE TABLE %1.remisiones LIKE remisiones").arg(resguardo));
    base.ejecuta(
        QStringLiteral("CREATE TABLE %1.remisionesdetalle LIKE remisionesdetalle").arg(resguardo));
    base.ejecuta(QStringLiteral("INSERT INTO partidatallaocolor (IdExterna) VALUES ('RE1')"));
    const struct {
        const char* nombre;
        const char* permisos;
        QStringList faltan;
        int soloFactura;
    } casos[] = {
        {"sólo lectura",
         "GRANT SELECT ON %1.* TO %2",
         {"UPDATE en %1.remisionesdetalle", "INSERT y DELETE en %1.partidatallaocolor",
          "INSERT y DELETE en %1.reportesbin", "UPDATE en %1.remisiones", "UPDATE en %1.sistema",
          "INSERT en %1.facturas", "INSERT en %1.facturasdetalle",
          "SELECT e INSERT en la base de resguardo %3", "CREATE y DROP de tablas en %1",
          "todos los permisos en la base de trabajo tmpreprocesarem"},
         6},
        {"las reimpresiones",
         "GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP ON %1.* TO %2",
         {"SELECT e INSERT en la base de resguardo %3",
          "todos los permisos en la base de trabajo tmpreprocesarem"},
         2},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        UsuarioLimitado usuario(base, QString::fromLatin1(c.permisos));
        Conexion cnn;
        ASSERT_TRUE(usuario.conecta(cnn)) << qPrintable(cnn.ultimoError());
        QStringList faltan;
        int soloFactura = 0;
        for (const PermisosDeLaTienda::Falta& f : PermisosDeLaTienda::Revisa(cnn, resguardo)) {
            faltan << f.que;
            soloFactura += f.soloFactura ? 1 : 0;
            EXPECT_TRUE(f.error.startsWith(QStringLiteral("Error nº "))) << qPrintable(f.error);
        }
        QStringList esperadas;
        for (const QString& e : c.faltan) {
            esperadas << QString(e)
                             .replace(QLatin1String("%1"), base.nombre())
                             .replace(QLatin1String("%3"), resguardo);
        }
        EXPECT_EQ(faltan, esperadas);
        EXPECT_EQ(soloFactura, c.soloFactura);
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 1);
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'deremisiones_permisos'")).isValid());
    EXPECT_TRUE(PermisosDeLaTienda::Revisa(base.conexion(), resguardo).isEmpty());
}

} // namespace
