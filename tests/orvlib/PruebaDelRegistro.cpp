#include "apoyo/CarpetaDePrueba.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/ErrorOrvlib.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

TEST(DelRegistro, EncuentraLaInstalacionYGuardaSusDatos) {
    CarpetaDePrueba carpeta;
    carpeta.registraInstalacion(QStringLiteral("C:\\OrvanePremium"));
    DelRegistro registro;
    EXPECT_EQ(registro.BuscarRegistroTrq(QStringLiteral("C:\\Otra")), QString());
    EXPECT_EQ(registro.DatosTrq(QStringLiteral("servidor")), QString());
    EXPECT_THROW(registro.GuardaDatosTrq(QStringLiteral("MySQLServer"), QStringLiteral("x")),
                 ErrorOrvlib);

    EXPECT_FALSE(registro.BuscarRegistroTrq(QStringLiteral("c:\\orvanepremium")).isEmpty());
    registro.GuardaDatosTrq(QStringLiteral("MySQLServer"), QStringLiteral("servidor-tienda"));
    EXPECT_EQ(registro.DatosTrq(QStringLiteral("mysqlserver")), QStringLiteral("servidor-tienda"));
    EXPECT_EQ(ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
                  .lee(QStringLiteral("C:\\OrvanePremium"), QStringLiteral("MySQLServer")),
              QStringLiteral("servidor-tienda"));
}

TEST(DelRegistro, GrabarCadenaEscribeElOrigenOdbc) {
    CarpetaDePrueba carpeta;
    DelRegistro registro;
    registro.GrabarCadena(QStringLiteral("Software\\ODBC\\ODBC.INI\\myodbc3-test"),
                          QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
    registro.GrabarCadena(QStringLiteral("Software\\ODBC\\ODBC.INI\\Orvane Reportes"),
                          QStringLiteral("Password"), QString());
    EXPECT_EQ(CarpetaDePrueba::lee(carpeta.archivoOdbc()),
              QByteArray("[myodbc3-test]\nServer=127.0.0.1\n[Orvane Reportes]\nPassword=\n"));
    EXPECT_THROW(registro.GrabarCadena(QStringLiteral("Software\\Otra\\Cosa"), QStringLiteral("a"),
                                       QStringLiteral("b")),
                 ErrorOrvlib);
}

// The same folder with or without a final separator is one installation; its file, which
// keeps the login, is its owner's alone.
TEST(DelRegistro, LaCarpetaConOSinSeparadorFinalYElArchivoPrivado) {
    CarpetaDePrueba carpeta;
    const struct {
        const char* registrada;
        const char* buscada;
        bool encontrada;
    } casos[] = {
        {"/srv/orvane", "/srv/orvane/", true}, {"/srv/orvane/", "/srv/orvane", true},
        {"C:\\Orvane", "C:\\Orvane\\", true},  {"/srv/orvane", "/srv/orvane2", false},
        {"/srv/orvane", "/srv", false},
    };
    for (const auto& c : casos) {
        QFile::remove(DelRegistro::ArchivoDeInstalaciones());
        carpeta.registraInstalacion(QString::fromLatin1(c.registrada));
        DelRegistro registro;
        EXPECT_EQ(!registro.BuscarRegistroTrq(QString::fromLatin1(c.buscada)).isEmpty(),
                  c.encontrada)
            << c.registrada << " " << c.buscada;
        if (c.encontrada) {
            registro.GuardaDatosTrq(QStringLiteral("MySQLUsuario"), QStringLiteral("~ABC"));
            EXPECT_EQ(QFile(DelRegistro::ArchivoDeInstalaciones()).permissions() &
                          ~(QFile::ReadUser | QFile::WriteUser),
                      QFile::ReadOwner | QFile::WriteOwner)
                << c.registrada;
        }
    }
}

// unixODBC reads the user's data sources in the account's home, whatever $HOME says.
TEST(DelRegistro, LosOrigenesOdbcEnLaCasaDeLaCuenta) {
    CarpetaDePrueba carpeta;
    const QByteArray casa = qgetenv("HOME");
    qunsetenv("ODBCINI");
    qputenv("HOME", carpeta.ruta(QStringLiteral("otra-casa")).toUtf8());
    const QString archivo = DelRegistro::ArchivoDeOrigenesOdbc();
    qputenv("HOME", casa);
    EXPECT_EQ(archivo, QDir(QString::fromLocal8Bit(::getpwuid(::getuid())->pw_dir))
                           .filePath(QStringLiteral(".odbc.ini")));
}

} // namespace
