#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "arranque/ConfiguracionDeTienda.h"
#include "arranque/Verificacion.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/DelRegistro.h"
#include "servicios/ExplicacionDeError.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

// Against a server that demands TLS (scripts/mariadb start tls): require_secure_transport=ON, a
// certificate signed by an authority of its own, whose file DEREMISIONES_MYSQL_CA names, and a
// user 'cifrado' (no password) made REQUIRE SSL. Skipped against the other servers.

namespace {

QString autoridad() {
    return qEnvironmentVariable("DEREMISIONES_MYSQL_CA");
}

class ConexionCifrada : public ::testing::Test {
protected:
    void SetUp() override {
        if (autoridad().isEmpty()) {
            GTEST_SKIP() << "sólo con el servidor que exige TLS (scripts/mariadb con tls …)";
        }
    }

    static bool abre(Conexion& cnn, const QString& usuario, const QString& contrasena,
                     const CifradoDeConexion& cifrado) {
        return cnn.abre(QStringLiteral("QMYSQL"),
                        qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", "127.0.0.1"),
                        qEnvironmentVariableIntValue("DEREMISIONES_MYSQL_PUERTO"), usuario,
                        contrasena, QStringLiteral("mysql"), cifrado);
    }
};

// What each way of connecting gets: the server's demand for TLS is told apart from a wrong
// password, and the certificate is checked against the authority given (or the system's,
// which did not sign it).
TEST_F(ConexionCifrada, SoloEntraCifradaYConElCertificadoComprobado) {
    const CifradoDeConexion sinCifrar;
    const CifradoDeConexion conSuAutoridad{true, autoridad()};
    const CifradoDeConexion delSistema{true, {}};
    const CifradoDeConexion otraAutoridad{true,
                                          QStringLiteral("/etc/ssl/certs/ca-certificates.crt")};
    const struct {
        const char* caso;
        const char* usuario;
        const char* contrasena;
        const CifradoDeConexion& cifrado;
        bool entra;
        int numero;
    } casos[] = {
        {"require_secure_transport", "root", "", sinCifrar, false, Conexion::kExigeCifrado},
        {"REQUIRE SSL", "cifrado", "", sinCifrar, false, Conexion::kExigeCifrado},
        {"contraseña mala", "cifrado", "mala", sinCifrar, false, 1045},
        {"con su autoridad", "cifrado", "", conSuAutoridad, true, -1},
        {"root con su autoridad", "root", "", conSuAutoridad, true, -1},
        {"autoridades del sistema", "cifrado", "", delSistema, false, 2026},
        {"otra autoridad", "cifrado", "", otraAutoridad, false, 2026},
    };
    for (const auto& c : casos) {
        Conexion cnn;
        EXPECT_EQ(
            abre(cnn, QString::fromLatin1(c.usuario), QString::fromLatin1(c.contrasena), c.cifrado),
            c.entra)
            << c.caso;
        EXPECT_EQ(cnn.ultimoNumero(), c.numero) << c.caso << ": " << qPrintable(cnn.ultimoError());
        if (c.entra) {
            EXPECT_FALSE(cnn.cifra().isEmpty()) << c.caso;
        }
    }
}

TEST_F(ConexionCifrada, ElServidorQueExigeCifradoLoDiceEnVezDeCulparALaContrasena) {
    Conexion cnn;
    ASSERT_FALSE(abre(cnn, QStringLiteral("cifrado"), {}, {}));
    const QString esperado =
        QStringLiteral("El servidor exige una conexión cifrada; use configura --tls");
    EXPECT_TRUE(ConfiguracionDeTienda::MotivoDeConexion(cnn, QStringLiteral("127.0.0.1"), 3306,
                                                        QStringLiteral("cifrado"),
                                                        QStringLiteral("mysql"))
                    .startsWith(esperado));
    const ExplicacionDeError e =
        ExplicacionDeError::De(cnn.ultimoNumero(), cnn.ultimoError(), QStringLiteral("mysql"));
    EXPECT_TRUE(e.principal().startsWith(esperado)) << qPrintable(e.principal());
    EXPECT_TRUE(e.detalle().contains(QLatin1String("Access denied"))) << qPrintable(e.detalle());
}

// configura --tls --ca: the program's settings and both data sources carry TLS, and verifica
// finds the program's connection and the report engine's data source encrypted.
TEST_F(ConexionCifrada, ConfiguraConTlsCifraElProgramaYLosOrigenesDeDatos) {
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    DatosDeTienda d;
    d.carpetaOrvane = carpeta.ruta(QStringLiteral("orvane/"));
    d.servidor = base.bases().cRuta;
    d.puerto = base.bases().cPuerto;
    d.usuario = QStringLiteral("cifrado");
    d.base = base.nombre();
    d.carpetaDePlantillas = QStringLiteral(DEREMISIONES_PLANTILLAS);
    d.cifrado = {true, autoridad()};
    ConfiguracionDeTienda::Aplica(d);

    const ArchivoIni programa(ConfiguracionDeTienda::ArchivoDelPrograma());
    EXPECT_EQ(programa.lee(QStringLiteral("Configuración"), QStringLiteral("TLS")),
              QStringLiteral("1"));
    EXPECT_EQ(programa.lee(QStringLiteral("Configuración"), QStringLiteral("CA")), autoridad());
    const ArchivoIni origenes(DelRegistro::ArchivoDeOrigenesOdbc(), ArchivoIni::Estilo::Unix);
    for (const char* origen : {"myodbc3-test", "Orvane Reportes"}) {
        const QString seccion = QString::fromLatin1(origen);
        EXPECT_EQ(origenes.lee(seccion, QStringLiteral("SSLCA")), autoridad()) << origen;
        EXPECT_EQ(origenes.lee(seccion, QStringLiteral("SSLVERIFY")), QStringLiteral("1"));
        EXPECT_EQ(origenes.lee(seccion, QStringLiteral("FORCETLS")), QStringLiteral("1"));
    }
    QStringList vistos;
    for (const Verificacion::Punto& p : Verificacion::Revisa()) {
        if (p.nombre.startsWith(QStringLiteral("Cifrado de la conexión")) ||
            p.nombre.startsWith(QStringLiteral("Orígenes de datos ODBC")) ||
            p.nombre.startsWith(QLatin1String("Acceso a la base"))) {
            EXPECT_TRUE(p.correcto) << qPrintable(p.nombre + QStringLiteral(": ") + p.detalle);
            vistos << p.nombre;
        }
        if (p.nombre.startsWith(QStringLiteral("Cifrado de la conexión"))) {
            EXPECT_TRUE(p.detalle.startsWith(QLatin1String("cifrada con TLS")))
                << qPrintable(p.detalle);
            EXPECT_TRUE(p.detalle.contains(autoridad())) << qPrintable(p.detalle);
        }
    }
    EXPECT_EQ(vistos.size(), 3) << qPrintable(vistos.join(QLatin1Char('|')));
}

} // namespace
