#include "hostdata/Rechazo.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "startup/ConfiguracionDeTienda.h"
#include "startup/Verificacion.h"
#include "support/BaseDePrueba.h"
#include "support/CarpetaDePrueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString usuario() {
    return QStringLiteral("caja_%1").arg(QCoreApplication::applicationPid());
}

class ConfiguraTienda : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    QString resguardo = base.creaBaseAdicional(QStringLiteral("resguardo"));

    void SetUp() override {
        base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario()));
        base.ejecuta(QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY 'buena'").arg(usuario()));
        base.ejecuta(
            QStringLiteral("GRANT SELECT ON %1.* TO '%2'@'%'").arg(base.nombre(), usuario()));
    }
    void TearDown() override {
        base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario()));
    }

    DatosDeTienda datos() {
        DatosDeTienda d;
        d.carpetaOrvane = carpeta.ruta(QStringLiteral("orvane/"));
        d.servidor = base.bases().cRuta;
        d.puerto = base.bases().cPuerto;
        d.usuario = QStringLiteral("root");
        d.base = base.nombre();
        d.resguardo = resguardo;
        d.carpetaDePlantillas = QStringLiteral(DEREMISIONES_PLANTILLAS);
        return d;
    }

    QString programa() const { return carpeta.ruta(QStringLiteral("programa/DeRemisiones.ini")); }
};

// Whatever keeps the store from being used is said before the first file is written.
TEST_F(ConfiguraTienda, UnaTiendaQueNoSePuedeUsarNoEscribeNada) {
    const struct {
        const char* nombre;
        std::function<void(DatosDeTienda&)> cambia;
        const char* motivo;
    } casos[] = {
        {"contraseña",
         [](DatosDeTienda& d) {
             d.usuario = usuario();
             d.contrasena = "mala";
         },
         "rechazó al usuario 'caja_"},
        {"base", [](DatosDeTienda& d) { d.base = QStringLiteral("no_existe_esta_base"); },
         "La base de datos 'no_existe_esta_base' no existe"},
        {"permisos",
         [](DatosDeTienda& d) {
             d.usuario = usuario();
             d.contrasena = "buena";
         },
         "le faltan permisos que necesitan las reimpresiones"},
        {"servidor", [](DatosDeTienda& d) { d.servidor.clear(); }, "Falta --servidor."},
        {"puerto", [](DatosDeTienda& d) { d.puerto = 70000; }, "El puerto debe estar entre"},
        {"plantillas", [](DatosDeTienda& d) { d.carpetaDePlantillas = QStringLiteral("/no/hay"); },
         "no se encontraron las del programa en /no/hay"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        DatosDeTienda d = datos();
        c.cambia(d);
        try {
            ConfiguracionDeTienda::Aplica(d);
            ADD_FAILURE() << "debió rechazarse";
        } catch (const Rechazo& r) {
            EXPECT_TRUE(r.texto().contains(QString::fromUtf8(c.motivo))) << qPrintable(r.texto());
        }
        for (const QString& archivo :
             {DelRegistro::ArchivoDeInstalaciones(), programa(), carpeta.archivoOdbc()}) {
            EXPECT_FALSE(QFile::exists(archivo)) << qPrintable(archivo);
        }
        EXPECT_FALSE(QFileInfo::exists(carpeta.ruta(QStringLiteral("orvane"))));
    }
}

TEST_F(ConfiguraTienda, DejaLaTiendaListaYLoQueEscribeLoLeeElPrograma) {
    base.ejecuta(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP ON %1.* TO "
                                "'%2'@'%'")
                     .arg(base.nombre(), usuario()));
    DatosDeTienda d = datos();
    d.usuario = usuario();
    d.contrasena = QStringLiteral("buena");
    d.impresora = QStringLiteral("Remisiones");
    const QStringList hecho = ConfiguracionDeTienda::Aplica(d);
    // The account may not make the invoice job's database: said, not refused.
    EXPECT_TRUE(hecho.first().startsWith(
        QStringLiteral("Aviso: para «Generar facturas por remisiones» falta ")));
    EXPECT_TRUE(hecho.contains(
        QStringLiteral("Plantillas guardadas en reportesbin: Auxiliar.MDB, fmtRemision.rpt.")));
    EXPECT_EQ(hecho.last(),
              QStringLiteral("Aviso: la impresora «Remisiones» no está instalada en este equipo."));
    const QString orvane = carpeta.ruta(QStringLiteral("orvane"));
    EXPECT_TRUE(QFileInfo(orvane).isDir());
    const ArchivoIni instalaciones(DelRegistro::ArchivoDeInstalaciones());
    EXPECT_EQ(instalaciones.secciones(), QStringList{orvane});
    EXPECT_EQ(Utilerias::DesEncripta(instalaciones.lee(orvane, QStringLiteral("MySQLPassword"))),
              QStringLiteral("buena"));
    EXPECT_NE(instalaciones.lee(orvane, QStringLiteral("MySQLPassword")), QStringLiteral("buena"));
    EXPECT_EQ(ArchivoIni(programa())
                  .lee(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium")),
              orvane);
    const ArchivoIni odbc(carpeta.archivoOdbc(), ArchivoIni::Estilo::Unix);
    EXPECT_FALSE(odbc.lee(QStringLiteral("myodbc3-test"), QStringLiteral("Driver")).isEmpty());
    EXPECT_EQ(odbc.lee(QStringLiteral("Orvane Reportes"), QStringLiteral("Database")),
              QStringLiteral("orvanereportes"));
    EXPECT_EQ(ArchivoIni(QDir(orvane).filePath(QStringLiteral("Orvane.ini")))
                  .lee(QStringLiteral("Impresión de formatos"), QStringLiteral("fmtremision.rpt")),
              QStringLiteral("Remisiones"));
    for (const QString& archivo : {DelRegistro::ArchivoDeInstalaciones(), carpeta.archivoOdbc()}) {
        EXPECT_EQ(QFile(archivo).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                  QFile::ReadOwner | QFile::WriteOwner)
            << qPrintable(archivo);
    }
    EXPECT_TRUE(ConfiguracionDeTienda::Aplica(d).contains(
        QStringLiteral("Las plantillas de la tienda ya estaban en reportesbin; no se cambiaron.")));
}

// The checks name what is wrong, and how to mend it, for an installation that is not there
// and for one that would log in as root without a password.
TEST_F(ConfiguraTienda, VerificaExplicaLaInstalacionQueFalta) {
    ConfiguracionDeTienda::Aplica(datos());
    const auto punto = [](const QString& inicio) {
        for (const Verificacion::Punto& p : Verificacion::Revisa()) {
            if (p.nombre.startsWith(inicio)) {
                return p;
            }
        }
        return Verificacion::Punto{};
    };
    const QString orvane = carpeta.ruta(QStringLiteral("orvane"));
    ArchivoIni(programa())
        .escribe(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"),
                 orvane + QStringLiteral("-otra"));
    Verificacion::Punto instalacion = punto(QStringLiteral("Instalación registrada"));
    EXPECT_FALSE(instalacion.correcto);
    EXPECT_TRUE(instalacion.detalle.contains(QStringLiteral("Debe llamarse exactamente como")));
    EXPECT_TRUE(instalacion.detalle.contains(QStringLiteral("Secciones que hay: ") + orvane))
        << qPrintable(instalacion.detalle);

    ArchivoIni(programa())
        .escribe(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"), orvane);
    ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
        .escribe(orvane, QStringLiteral("MySQLUsuario"), QString());
    instalacion = punto(QStringLiteral("Instalación registrada"));
    EXPECT_FALSE(instalacion.correcto);
    EXPECT_TRUE(instalacion.detalle.contains(QStringLiteral("entraría como root sin contraseña")));
}

} // namespace
