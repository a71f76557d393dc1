#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "tienda/ControladoresOdbc.h"
#include "tienda/PermisosDeLaTienda.h"

#include <QCoreApplication>
#include <QThread>
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

// A user of the store's server with only some privileges, dropped after the test. The
// privileges are GRANT statements separated by ';', with %1 the store's database, %2 the
// account and %3 the archive database.
class UsuarioLimitado {
public:
    UsuarioLimitado(BaseDePrueba& base, const QString& resguardo, const QString& permisos)
        : base_(base) {
        base_.ejecuta(QStringLiteral("DROP USER IF EXISTS %1").arg(cuenta()));
        base_.ejecuta(QStringLiteral("CREATE USER %1 IDENTIFIED BY 'x'").arg(cuenta()));
        for (const QString& grant : permisos.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            base_.ejecuta(QString(grant)
                              .replace(QLatin1String("%1"), base_.nombre())
                              .replace(QLatin1String("%2"), cuenta())
                              .replace(QLatin1String("%3"), resguardo));
        }
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

// The account's missing privileges. Another suite on the same server may hold the invoice job's
// lock for a moment, and then its database is not tried: the check is repeated until it is,
// when the case expects it to be named.
QVector<PermisosDeLaTienda::Falta> revisa(Conexion& cnn, const QString& resguardo,
                                          const QStringList& esperadas) {
    const QString factura = QStringLiteral("ALL PRIVILEGES en tmpreprocesarem");
    QVector<PermisosDeLaTienda::Falta> faltas;
    for (int intento = 0; intento < 40; ++intento) {
        faltas = PermisosDeLaTienda::Revisa(cnn, resguardo);
        const bool nombrada = std::any_of(faltas.begin(), faltas.end(),
                                          [&](const auto& f) { return f.que == factura; });
        if (nombrada || !esperadas.contains(factura)) {
            break;
        }
        QThread::msleep(250);
    }
    return faltas;
}

// Only what is missing is named, privilege by privilege and in its own database; the GRANT
// statements give exactly that.
TEST(PermisosDeLaTienda, NombraLoQueLeFaltaALaCuentaSinCambiarNada) {
    BaseDePrueba base;
    const QString resguardo = base.creaBaseAdicional(QStringLiteral("resguardo"));
    base.ejecuta(QStringLiteral("CREATE TABLE %1.remisiones LIKE remisiones").arg(resguardo));
    base.ejecuta(
        QStringLiteral("CREATE TABLE %1.remisionesdetalle LIKE remisionesdetalle").arg(resguardo));
    base.ejecuta(QStringLiteral("INSERT INTO partidatallaocolor (IdExterna) VALUES ('RE1')"));
    const char* const kTodoEnLaTienda =
        "GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP ON %1.* TO %2;";
    const char* const kFacturas =
        "GRANT ALL PRIVILEGES ON tmpreprocesarem.* TO %2;GRANT SELECT, INSERT ON %3.* TO %2";
    const struct {
        const char* nombre;
        QString permisos;
        QStringList faltan;
        int soloFactura;
        const char* concesiones;
    } casos[] = {
        {"sólo lectura",
         QStringLiteral("GRANT SELECT ON %1.* TO %2"),
         {"UPDATE en %1.remisionesdetalle", "INSERT en %1.partidatallaocolor",
          "DELETE en %1.partidatallaocolor", "INSERT en %1.reportesbin", "DELETE en %1.reportesbin",
          "CREATE en %1", "DROP en %1", "UPDATE en %1.remisiones", "UPDATE en %1.sistema",
          "INSERT en %1.facturas", "INSERT en %1.facturasdetalle", "SELECT en %3",
          "INSERT en %3.remisiones", "INSERT en %3.remisionesdetalle",
          "ALL PRIVILEGES en tmpreprocesarem"},
         8,
         "GRANT INSERT, UPDATE, DELETE, CREATE, DROP ON `%1`.* TO %2;\n"
         "GRANT SELECT, INSERT ON `%3`.* TO %2;\n"
         "GRANT ALL PRIVILEGES ON `tmpreprocesarem`.* TO %2;"},
        {"las reimpresiones",
         QString::fromLatin1(kTodoEnLaTienda),
         {"SELECT en %3", "INSERT en %3.remisiones", "INSERT en %3.remisionesdetalle",
          "ALL PRIVILEGES en tmpreprocesarem"},
         4,
         "GRANT SELECT, INSERT ON `%3`.* TO %2;\n"
         "GRANT ALL PRIVILEGES ON `tmpreprocesarem`.* TO %2;"},
        {"sin DELETE",
         QStringLiteral("GRANT SELECT, INSERT, UPDATE, CREATE, DROP ON %1.* TO %2;") +
             QString::fromLatin1(kFacturas),
         {"DELETE en %1.partidatallaocolor", "DELETE en %1.reportesbin"},
         0,
         "GRANT DELETE ON `%1`.* TO %2;"},
        {"CREATE sin DROP",
         QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON %1.* TO %2;") +
             QString::fromLatin1(kFacturas),
         {"DROP en %1"},
         0,
         "GRANT DROP ON `%1`.* TO %2;"},
        {"resguardo sin INSERT",
         QString::fromLatin1(kTodoEnLaTienda) +
             QStringLiteral("GRANT ALL PRIVILEGES ON tmpreprocesarem.* TO %2;GRANT SELECT ON "
                            "%3.* TO %2"),
         {"INSERT en %3.remisiones", "INSERT en %3.remisionesdetalle"},
         2,
         "GRANT INSERT ON `%3`.* TO %2;"},
    };
    const auto conNombres = [&](QString texto) {
        return texto.replace(QLatin1String("%1"), base.nombre())
            .replace(QLatin1String("%2"), UsuarioLimitado::cuenta())
            .replace(QLatin1String("%3"), resguardo);
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        UsuarioLimitado usuario(base, resguardo, c.permisos);
        Conexion cnn;
        ASSERT_TRUE(usuario.conecta(cnn)) << qPrintable(cnn.ultimoError());
        const QVector<PermisosDeLaTienda::Falta> faltas = revisa(cnn, resguardo, c.faltan);
        QStringList faltan;
        int soloFactura = 0;
        for (const PermisosDeLaTienda::Falta& f : faltas) {
            faltan << f.que;
            soloFactura += f.soloFactura ? 1 : 0;
            EXPECT_TRUE(f.error.startsWith(QStringLiteral("Error no. "))) << qPrintable(f.error);
        }
        QStringList esperadas;
        for (const QString& e : c.faltan) {
            esperadas << conNombres(e);
        }
        EXPECT_EQ(faltan, esperadas);
        EXPECT_EQ(soloFactura, c.soloFactura);
        EXPECT_EQ(PermisosDeLaTienda::Concesiones(faltas, UsuarioLimitado::cuenta()),
                  conNombres(QString::fromLatin1(c.concesiones)));
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 1);
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'deremisiones_permisos'")).isValid());
    EXPECT_TRUE(PermisosDeLaTienda::Revisa(base.conexion(), resguardo).isEmpty());
}

} // namespace
