#include "apoyo/CarpetaDePrueba.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Windows1252.h"

#include <gtest/gtest.h>

namespace {

// A store's existing settings file: Windows-1252, CR LF, comments, other sections.
const QByteArray kIniDeTienda = "; Configuraci\xF3n de DeRemisiones\r\n"
                                "[Configuraci\xF3n]\r\n"
                                "Ruta de Orvane Premium=C:\\orvanepremium\r\n"
                                "Base de datos principal = datos1 \r\n"
                                "Serie de facturas=\"  B \"\r\n"
                                "\r\n"
                                "[Impresi\xF3n de formatos]\r\n"
                                "fmtremision.rpt=Impresora \x80 1\r\n";

TEST(ArchivoIni, LeeComoWindows) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("DeRemisiones.ini"));
    CarpetaDePrueba::escribe(ruta, kIniDeTienda);
    const ArchivoIni ini(ruta);
    const struct {
        const char* seccion;
        const char* clave;
        QString esperado;
    } casos[] = {
        {"Configuración", "Ruta de Orvane Premium", QStringLiteral("C:\\orvanepremium")},
        {"CONFIGURACIÓN", "ruta de orvane premium", QStringLiteral("C:\\orvanepremium")},
        {"Configuración", "Base de datos principal", QStringLiteral("datos1")},
        {"Configuración", "Serie de facturas", QStringLiteral("  B ")},
        {"Impresión de formatos", "FMTREMISION.RPT", QStringLiteral("Impresora € 1")},
        {"Configuración", "fmtremision.rpt", QString()},
        {"No existe", "Ruta de Orvane Premium", QString()},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ini.lee(QString::fromUtf8(c.seccion), QString::fromUtf8(c.clave)), c.esperado)
            << c.seccion << " / " << c.clave;
    }
}

TEST(ArchivoIni, EscribeSinTocarLoDemas) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("DeRemisiones.ini"));
    CarpetaDePrueba::escribe(ruta, kIniDeTienda);
    ArchivoIni(ruta).escribe(QStringLiteral("CONFIGURACIÓN"),
                             QStringLiteral("base de datos principal"), QStringLiteral("tienda2"));
    ArchivoIni(ruta).escribe(QStringLiteral("Configuración"),
                             QStringLiteral("Cliente para facturar"), QStringLiteral("CLIENTE"));
    ArchivoIni(ruta).escribe(QStringLiteral("Nueva"), QStringLiteral("Año"), QStringLiteral("ñ"));
    const QByteArray esperado = "; Configuraci\xF3n de DeRemisiones\r\n"
                                "[Configuraci\xF3n]\r\n"
                                "Ruta de Orvane Premium=C:\\orvanepremium\r\n"
                                "Base de datos principal=tienda2\r\n"
                                "Serie de facturas=\"  B \"\r\n"
                                "Cliente para facturar=CLIENTE\r\n"
                                "\r\n"
                                "[Impresi\xF3n de formatos]\r\n"
                                "fmtremision.rpt=Impresora \x80 1\r\n"
                                "[Nueva]\r\n"
                                "A\xF1o=\xF1\r\n";
    EXPECT_EQ(CarpetaDePrueba::lee(ruta), esperado);
}

TEST(ArchivoIni, ArchivoNuevoEnWindows1252YValoresQueSeLeenIguales) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("nuevo.ini"));
    for (const QString& valor : {QStringLiteral("   "), QStringLiteral(" a "),
                                 QStringLiteral("\"citado\""), QStringLiteral("C:\\ruta")}) {
        ArchivoIni(ruta).escribe(QStringLiteral("Configuración"), QStringLiteral("Clave"), valor);
        EXPECT_EQ(ArchivoIni(ruta).lee(QStringLiteral("Configuración"), QStringLiteral("Clave")),
                  valor);
    }
    EXPECT_TRUE(CarpetaDePrueba::lee(ruta).startsWith("[Configuraci\xF3n]\r\nClave="));
}

TEST(ArchivoIni, UnArchivoEnUtf8SeQuedaEnUtf8) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("utf8.ini"));
    CarpetaDePrueba::escribe(ruta, QStringLiteral("[Configuración]\nRuta=/srv/orvane\n").toUtf8());
    ArchivoIni ini(ruta);
    EXPECT_EQ(ini.lee(QStringLiteral("Configuración"), QStringLiteral("Ruta")),
              QStringLiteral("/srv/orvane"));
    ini.escribe(QStringLiteral("Configuración"), QStringLiteral("Año"), QStringLiteral("2026"));
    EXPECT_EQ(CarpetaDePrueba::lee(ruta),
              QStringLiteral("[Configuración]\nRuta=/srv/orvane\nAño=2026\n").toUtf8());
}

TEST(Windows1252, TodosLosBytesVanYVuelven) {
    QByteArray todos;
    for (int i = 0; i < 256; ++i) {
        todos.append(static_cast<char>(i));
    }
    EXPECT_EQ(Windows1252::codifica(Windows1252::decodifica(todos)), todos);
    EXPECT_EQ(Windows1252::decodifica("\x80\x93\xF3"), QStringLiteral("€“ó"));
    EXPECT_EQ(Windows1252::codifica(QStringLiteral("日")), QByteArray("?"));
}

} // namespace
