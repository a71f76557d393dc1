#include "apoyo/CarpetaDePrueba.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/BasesDD.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"
#include "tienda/DeConexionRemota.h"
#include "tienda/ParaPluginsPortables.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kSeccion = QStringLiteral("Configuración");
const QString kRuta = QStringLiteral("Ruta de Orvane Premium");

class Configuracion : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    DialogosGuionados dialogos;
    libKwtm kw;
    DelRegistro registro;
    BasesDD bases;
    QString ini = carpeta.ruta(QStringLiteral("programa/DeRemisiones.ini"));

    bool lee(bool basePrincipal = true) {
        return LeeConfiguracion(kw, registro, bases, ini, basePrincipal);
    }
    QString instalacion(const QString& nombre) {
        return ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
            .lee(QStringLiteral("/srv/orvane"), nombre);
    }
    void instala(const QString& nombre, const QString& valor) {
        ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
            .escribe(QStringLiteral("/srv/orvane"), nombre, valor);
    }
};

TEST_F(Configuracion, SinIniNiInstalacionCreaElIniAvisaYSeDetiene) {
    dialogos.responde(false);
    EXPECT_FALSE(lee());
    EXPECT_EQ(ArchivoIni(ini).lee(kSeccion, kRuta), QStringLiteral("C:\\orvanepremium"));
    EXPECT_TRUE(CarpetaDePrueba::lee(ini).startsWith(
        "[Configuraci\xF3n]\r\nRuta de Orvane Premium=C:\\orvanepremium\r\n"));
    ASSERT_EQ(dialogos.cajas().size(), 2);
    const auto& aviso = dialogos.cajas()[0];
    EXPECT_EQ(aviso.titulo, QStringLiteral("Atención"));
    EXPECT_EQ(aviso.icono, Dialogos::Icono::Critico);
    EXPECT_EQ(aviso.texto, QStringLiteral("En el archivo de configuración de este programa\r\r(") +
                               ini +
                               QStringLiteral(")\r\rdebe indicarse la ruta correcta de Orvane "
                                              "Premium.\rRuta indicada e incorrecta: \r\r"
                                              "C:\\orvanepremium"));
    const auto& pregunta = dialogos.cajas()[1];
    EXPECT_TRUE(pregunta.esPregunta);
    EXPECT_FALSE(pregunta.noPorDefecto);
    EXPECT_EQ(pregunta.titulo, QStringLiteral("Editar INI"));
    EXPECT_EQ(pregunta.texto, QStringLiteral("¿Desea editar el archivo de configuración?"));
}

// Without a desktop opener the user is told which file to edit instead of nothing happening.
TEST_F(Configuracion, SinEditorDiceQueArchivoEditarAMano) {
    const QByteArray ruta = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(carpeta.ruta(QStringLiteral("sin-programas"))));
    dialogos.responde(true);
    EXPECT_FALSE(lee());
    qputenv("PATH", ruta);
    ASSERT_EQ(dialogos.cajas().size(), 3);
    EXPECT_EQ(dialogos.cajas()[2].titulo, QStringLiteral("Alerta"));
    EXPECT_TRUE(dialogos.cajas()[2].texto.endsWith(ini)) << qPrintable(dialogos.cajas()[2].texto);
}

TEST_F(Configuracion, ClaveVaciaSeReemplazaYBlancosSeUsanComoSeLeen) {
    ArchivoIni(ini).escribe(kSeccion, kRuta, QString());
    dialogos.responde(false);
    EXPECT_FALSE(lee());
    EXPECT_EQ(ArchivoIni(ini).lee(kSeccion, kRuta), QStringLiteral("C:\\orvanepremium"));

    ArchivoIni(ini).escribe(kSeccion, kRuta, QStringLiteral("  "));
    dialogos.responde(false);
    EXPECT_FALSE(lee());
    EXPECT_TRUE(dialogos.cajas()[2].texto.endsWith(QStringLiteral("\r\r  ")));
}

TEST_F(Configuracion, CompletaLosDatosDeLaInstalacionYCargaLaConexion) {
    ArchivoIni(ini).escribe(kSeccion, kRuta, QStringLiteral("/srv/orvane"));
    instala(QStringLiteral("servidor"), QStringLiteral("caja-principal"));
    instala(QStringLiteral("MySQLPuerto"), QStringLiteral("abc"));
    instala(QStringLiteral("MySQLServer"), QStringLiteral("   "));

    ASSERT_TRUE(lee());
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(instalacion(QStringLiteral("MySQLPuerto")), QStringLiteral("3306"));
    EXPECT_EQ(instalacion(QStringLiteral("MySQLServer")), QStringLiteral("caja-principal"));
    EXPECT_EQ(instalacion(QStringLiteral("MySQLUsuario")),
              Utilerias::Encripta(QStringLiteral("root")));
    EXPECT_EQ(instalacion(QStringLiteral("MySQLPassword")), Utilerias::Encripta(QString()));
    EXPECT_EQ(bases.cRuta, QStringLiteral("caja-principal"));
    EXPECT_EQ(bases.cPuerto, 3306);
    EXPECT_EQ(bases.cUsuario, QStringLiteral("root"));
    EXPECT_EQ(bases.cPassword, QString());
    EXPECT_EQ(bases.cMiBase, QStringLiteral("datos1"));
    EXPECT_EQ(ArchivoIni(ini).lee(kSeccion, QStringLiteral("Base de datos principal")),
              QStringLiteral("datos1"));
}

TEST_F(Configuracion, UsaLosDatosGuardadosYRespetaLaBaseCuandoNoSePide) {
    ArchivoIni(ini).escribe(kSeccion, kRuta, QStringLiteral("/srv/orvane"));
    ArchivoIni(ini).escribe(kSeccion, QStringLiteral("Base de datos principal"),
                            QStringLiteral("tienda"));
    instala(QStringLiteral("MySQLServer"), QStringLiteral("10.0.0.5"));
    instala(QStringLiteral("MySQLPuerto"), QStringLiteral("3307"));
    instala(QStringLiteral("MySQLUsuario"), Utilerias::Encripta(QStringLiteral("cajero")));
    instala(QStringLiteral("MySQLPassword"), Utilerias::Encripta(QStringLiteral("s3cr3t")));

    bases.cMiBase = QStringLiteral("anterior");
    ASSERT_TRUE(lee(false));
    EXPECT_EQ(bases.cRuta, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(bases.cPuerto, 3307);
    EXPECT_EQ(bases.cUsuario, QStringLiteral("cajero"));
    EXPECT_EQ(bases.cPassword, QStringLiteral("s3cr3t"));
    EXPECT_EQ(bases.cMiBase, QStringLiteral("anterior"));
    ASSERT_TRUE(lee(true));
    EXPECT_EQ(bases.cMiBase, QStringLiteral("tienda"));
}

TEST(LeeIniConDefault, SoloLaCadenaVaciaTomaElValorPorOmision) {
    CarpetaDePrueba carpeta;
    libKwtm kw;
    const QString ini = carpeta.ruta(QStringLiteral("DeRemisiones.ini"));
    EXPECT_EQ(LeeIniConDefault(kSeccion, QStringLiteral("Serie de facturas"), QStringLiteral("B"),
                               kw, ini),
              QStringLiteral("B"));
    EXPECT_EQ(ArchivoIni(ini).lee(kSeccion, QStringLiteral("Serie de facturas")),
              QStringLiteral("B"));
    ArchivoIni(ini).escribe(kSeccion, QStringLiteral("Serie de facturas"), QStringLiteral(" C "));
    EXPECT_EQ(LeeIniConDefault(kSeccion, QStringLiteral("Serie de facturas"), QStringLiteral("B"),
                               kw, ini),
              QStringLiteral(" C "));
}

TEST(CreaObjeto, UnaClaseDesconocidaSeAvisaYDevuelveFalso) {
    DialogosGuionados dialogos;
    std::unique_ptr<libKwtm> kw;
    EXPECT_TRUE(CreaObjeto(kw, QStringLiteral("LibKwtm"), QStringLiteral("orvlib")));
    EXPECT_NE(kw, nullptr);
    std::unique_ptr<Utilerias> nada;
    EXPECT_FALSE(CreaObjeto(nada, QStringLiteral("Nada"), QStringLiteral("orvlib")));
    EXPECT_EQ(nada, nullptr);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].titulo, QStringLiteral("Alerta"));
    EXPECT_EQ(dialogos.cajas()[0].texto,
              QStringLiteral("Error nº 429, El componente no puede crear el objeto\r\n"
                             "Intentanto crear \"orvlib.Nada\""));
    std::unique_ptr<Utilerias> tipoEquivocado;
    EXPECT_FALSE(CreaObjeto(tipoEquivocado, QStringLiteral("libKwtm"), QStringLiteral("orvlib")));
}

} // namespace
