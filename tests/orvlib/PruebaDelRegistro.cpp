#include "orvlib/ArchivoIni.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/ErrorOrvlib.h"
#include "support/CarpetaDePrueba.h"

#include <gtest/gtest.h>

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

} // namespace
