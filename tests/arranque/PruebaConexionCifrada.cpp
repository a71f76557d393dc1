#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "arranque/CertificadoDelServidor.h"
#include "arranque/ConfiguracionDeTienda.h"
#include "arranque/Verificacion.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/DelRegistro.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Rechazo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QtEndian>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

// A server on a port of its own that greets as MySQL does and, when it offers TLS, takes the
// client's request for it and shakes hands with the certificate given; nothing more. It serves
// one connection, on a thread of its own, and goes with the object.
class ServidorDePrueba {
public:
    ServidorDePrueba(bool ofreceTls, const QSslCertificate& certificado, const QSslKey& llave)
        : hilo_([this, ofreceTls, certificado, llave] { sirve(ofreceTls, certificado, llave); }) {}
    ~ServidorDePrueba() { hilo_.join(); }

    int puerto() { return puerto_.get_future().get(); }

private:
    // Hands the connection's descriptor over whole, for a TLS socket to take.
    class Escucha : public QTcpServer {
    public:
        qintptr descriptor = -1;

    protected:
        void incomingConnection(qintptr d) override { descriptor = d; }
    };

    // The greeting and the client's request for TLS go through the descriptor itself, so that
    // no byte of the handshake that follows is read before the TLS socket takes over.
    void sirve(bool ofreceTls, const QSslCertificate& certificado, const QSslKey& llave) {
        Escucha escucha;
        escucha.listen(QHostAddress::LocalHost);
        puerto_.set_value(escucha.serverPort());
        if (!escucha.waitForNewConnection(20000)) {
            return;
        }
        const int fd = static_cast<int>(escucha.descriptor);
        const timeval espera{10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
        const QByteArray hola = saludo(ofreceTls);
        ::send(fd, hola.constData(), static_cast<size_t>(hola.size()), 0);
        char pedido[36];
        if (!ofreceTls || ::recv(fd, pedido, sizeof pedido, MSG_WAITALL) != sizeof pedido) {
            ::recv(fd, pedido, 1, 0); // until the client leaves
            ::close(fd);
            return;
        }
        QSslSocket socket;
        socket.setSocketDescriptor(fd);
        socket.setLocalCertificate(certificado);
        socket.setPrivateKey(llave);
        socket.startServerEncryption();
        socket.waitForEncrypted(5000);
    }

    // Protocol 10, a version, the connection's number, a scramble, and the capabilities.
    static QByteArray saludo(bool ofreceTls) {
        QByteArray p = QByteArray("\x0a") + "5.5.5-10.11.0-MariaDB" + '\0';
        p += QByteArray(4, '\1') + QByteArray(8, 'a') + '\0';
        const quint16 capacidades = 0x0200 | 0x8000 | (ofreceTls ? 0x0800 : 0);
        p += static_cast<char>(capacidades & 0xff);
        p += static_cast<char>(capacidades >> 8);
        p += QByteArray("\x21\x02\0\0\0\x15", 6) + QByteArray(10, '\0') + QByteArray(12, 'b');
        p += '\0' + QByteArray("mysql_native_password") + '\0';
        QByteArray cabecera(4, '\0');
        qToLittleEndian<quint32>(static_cast<quint32>(p.size()), cabecera.data());
        cabecera[3] = 0;
        return cabecera + p;
    }

    std::promise<int> puerto_;
    std::thread hilo_;
};

// Certificates made for the test by openssl: an authority, and server certificates it signs.
class Certificados {
public:
    explicit Certificados(const QString& carpeta)
        : carpeta_(carpeta) {
        QDir().mkpath(carpeta_);
        openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
                 "/CN=Autoridad de prueba", "-keyout", "ca.key", "-out", "ca.pem"});
    }

    QString autoridad() const { return ruta("ca.pem"); }
    QString ruta(const char* nombre) const { return carpeta_ + QLatin1Char('/') + nombre; }

    // A certificate for the name (an IP address or a host name), valid for the days given
    // (-1: expired a day before it starts).
    void firma(const char* nombre, const char* alternativo, const char* dias) {
        const QString base = QString::fromLatin1(nombre);
        openssl({"req", "-newkey", "rsa:2048", "-nodes", "-subj",
                 QStringLiteral("/CN=%1").arg(base), "-keyout", base + QStringLiteral(".key"),
                 "-out", base + QStringLiteral(".csr")});
        CarpetaDePrueba::escribe(ruta("ext.cnf"),
                                 QByteArray("subjectAltName=") + alternativo + '\n');
        openssl({"x509", "-req", "-in", base + QStringLiteral(".csr"), "-CA", "ca.pem", "-CAkey",
                 "ca.key", "-CAcreateserial", "-days", dias, "-extfile", "ext.cnf", "-out",
                 base + QStringLiteral(".pem")});
    }
    QSslCertificate certificado(const char* nombre) const {
        return QSslCertificate::fromPath(ruta(nombre) + QStringLiteral(".pem")).value(0);
    }
    QSslKey llave(const char* nombre) const {
        QFile f(ruta(nombre) + QStringLiteral(".key"));
        f.open(QIODevice::ReadOnly);
        return QSslKey(f.readAll(), QSsl::Rsa);
    }

private:
    void openssl(const QStringList& argumentos) const {
        QProcess p;
        p.setWorkingDirectory(carpeta_);
        p.start(QStringLiteral("openssl"), argumentos);
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }

    QString carpeta_;
};

// configura checks the server's certificate as the data sources do, before anything is
// written: a certificate for another name, an expired one, another authority's, and a server
// that offers no TLS at all are refused with the cause in Spanish.
TEST(CertificadoDelServidor, ConfiguraRehusaElCertificadoQueLosOrigenesRehusarian) {
    CarpetaDePrueba carpeta;
    Certificados c(carpeta.ruta(QStringLiteral("certificados")));
    c.firma("correcto", "IP:127.0.0.1", "30");
    c.firma("otro", "DNS:otro.ejemplo", "30");
    c.firma("vencido", "IP:127.0.0.1", "-1");
    const struct {
        const char* caso;
        bool ofreceTls;
        const char* certificado;
        QString autoridad;
        const char* dice; // empty: taken
    } casos[] = {
        {"correcto", true, "correcto", c.autoridad(), ""},
        {"otro nombre", true, "otro", c.autoridad(), "su certificado es para otro nombre"},
        {"vencido", true, "vencido", c.autoridad(), "su certificado está vencido"},
        {"autoridades del sistema", true, "correcto", {}, "con la autoridad configurada"},
        {"sin TLS", false, "correcto", c.autoridad(), "no ofrece conexiones cifradas (TLS)"},
    };
    for (const auto& caso : casos) {
        ServidorDePrueba servidor(caso.ofreceTls, c.certificado(caso.certificado),
                                  c.llave(caso.certificado));
        const int puerto = servidor.puerto();
        const CifradoDeConexion cifrado{true, caso.autoridad};
        const auto r = CertificadoDelServidor::Revisa(QStringLiteral("127.0.0.1"), puerto, cifrado);
        EXPECT_TRUE(r.comprobado) << caso.caso;
        if (*caso.dice == '\0') {
            EXPECT_EQ(r.numero, -1) << caso.caso << ": " << qPrintable(r.texto);
            continue;
        }
        EXPECT_EQ(r.numero, NumerosDeError::kCifradoFallido) << caso.caso;
        const QString explicacion = ExplicacionDeError::De(r.numero, r.texto, {}).principal();
        EXPECT_TRUE(explicacion.contains(QString::fromUtf8(caso.dice)))
            << caso.caso << ": " << qPrintable(explicacion);
    }
    // Through configura: refused, nothing written.
    ServidorDePrueba servidor(true, c.certificado("otro"), c.llave("otro"));
    DatosDeTienda d;
    d.carpetaOrvane = carpeta.ruta(QStringLiteral("orvane/"));
    d.servidor = QStringLiteral("127.0.0.1");
    d.puerto = servidor.puerto();
    d.usuario = QStringLiteral("root");
    d.base = QStringLiteral("datos1");
    d.carpetaDePlantillas = QStringLiteral(DEREMISIONES_PLANTILLAS);
    d.cifrado = {true, c.autoridad()};
    try {
        ConfiguracionDeTienda::Aplica(d);
        ADD_FAILURE() << "configura tomó un certificado para otro nombre";
    } catch (const Rechazo& r) {
        EXPECT_TRUE(r.texto().contains(QStringLiteral("su certificado es para otro nombre, no "
                                                      "para «127.0.0.1»")))
            << qPrintable(r.texto());
        EXPECT_TRUE(r.texto().endsWith(QStringLiteral("No se escribió nada.")));
    }
    EXPECT_FALSE(QFile::exists(ConfiguracionDeTienda::ArchivoDelPrograma()));
}

} // namespace
