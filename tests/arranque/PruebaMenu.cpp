#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "arranque/Menu.h"
#include "arranque/Principal.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Proceso.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MenuPrueba : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;

    void SetUp() override {
        Principal::CreaObjetosCompartidos();
        Proceso& p = Proceso::actual();
        p.stArchivoIni = carpeta.ruta(QStringLiteral("programa/DeRemisiones.ini"));
        p.bases->cRuta = QStringLiteral("127.0.0.1");
        p.bases->cMiBase = QStringLiteral("datos1");
    }
};

TEST_F(MenuPrueba, TituloBotonesYEstadoDeLaConexion) {
    ArchivoIni(Proceso::actual().stArchivoIni)
        .escribe(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"),
                 QStringLiteral("/srv/orvane"));
    Menu menu;
    EXPECT_EQ(menu.windowTitle(),
              QStringLiteral("Reimpresión de remisiones, versión " DEREMISIONES_VERSION));
    EXPECT_EQ(Proceso::actual().stIniHost,
              QStringLiteral("/srv/orvane") + QDir::separator() + QStringLiteral("Orvane.ini"));

    const struct {
        const char* nombre;
        const char* texto;
        bool visible;
    } botones[] = {
        {"Command2", "&Reimpresión por % de descuento", true},
        {"Command8", "R&eimpresión con tope y por período", true},
        {"Command1", "Re&procesamiento de remisiones", false},
        {"Command3", "&Salir", true},
    };
    menu.show();
    for (const auto& b : botones) {
        auto* boton = menu.findChild<QPushButton*>(QString::fromLatin1(b.nombre));
        ASSERT_NE(boton, nullptr) << b.nombre;
        EXPECT_EQ(boton->text(), QString::fromUtf8(b.texto));
        EXPECT_EQ(boton->isVisible(), b.visible) << b.nombre;
        EXPECT_EQ(boton->isEnabled(), b.visible) << b.nombre;
    }

    auto* estado = menu.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(ActivaVentana(&menu));
    EXPECT_EQ(estado->text(), QStringLiteral("   Servidor: 127.0.0.1\n   Base de datos: datos1"));
    Proceso::actual().bases->cMiBase = QStringLiteral("otra");
    QWidget otra;
    ASSERT_TRUE(ActivaVentana(&otra));
    ASSERT_TRUE(ActivaVentana(&menu));
    EXPECT_EQ(estado->text(), QStringLiteral("   Servidor: 127.0.0.1\n   Base de datos: datos1"));
    EXPECT_EQ(menu.windowTitle().count(QStringLiteral("versión")), 1);
}

TEST_F(MenuPrueba, SinRutaDelHostUsaLaCarpetaDelPrograma) {
    ArchivoIni(Proceso::actual().stArchivoIni)
        .escribe(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"),
                 QString());
    Menu menu;
    const QString carpetaPrograma = Proceso::CarpetaDelPrograma();
    EXPECT_EQ(ArchivoIni(Proceso::actual().stArchivoIni)
                  .lee(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium")),
              carpetaPrograma);
    EXPECT_EQ(Proceso::actual().stIniHost,
              carpetaPrograma + QDir::separator() + QStringLiteral("Orvane.ini"));
}

TEST_F(MenuPrueba, SalirLiberaLosObjetos) {
    Menu menu;
    menu.show();
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
    EXPECT_EQ(Proceso::actual().kw, nullptr);
    EXPECT_EQ(Proceso::actual().registro, nullptr);
}

// The menu without a display, none at all or one that is not there: said in Spanish with the
// program's own code, never Qt's English abort (exit 134).
TEST(MenuSinPantalla, LoDiceEnEspanolYTerminaCon1) {
    for (const char* pantalla : {"", ":97"}) {
        SCOPED_TRACE(pantalla);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(pantalla));
        QProcess programa;
        programa.setProcessEnvironment(env);
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), QStringList());
        ASSERT_TRUE(programa.waitForFinished(30000));
        const QString errores = QString::fromUtf8(programa.readAllStandardError());
        EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(programa.exitCode(), 1);
        EXPECT_TRUE(errores.contains(QStringLiteral("Los trabajos corren sin ventanas como "
                                                    "órdenes")))
            << qPrintable(errores);
        EXPECT_FALSE(errores.contains(QStringLiteral("This application")));
    }
}

} // namespace
