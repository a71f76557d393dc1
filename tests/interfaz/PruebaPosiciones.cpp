#include "apoyo/CarpetaDePrueba.h"
#include "interfaz/PosicionDeVentana.h"
#include "tienda/Posiciones.h"

#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QByteArray registro(qint16 arriba, qint16 izquierda, const QByteArray& nombre) {
    QByteArray r;
    r.append(static_cast<char>(arriba & 0xFF)).append(static_cast<char>((arriba >> 8) & 0xFF));
    r.append(static_cast<char>(izquierda & 0xFF))
        .append(static_cast<char>((izquierda >> 8) & 0xFF));
    return r + nombre.leftJustified(40, ' ');
}

TEST(Posiciones, PrimeraVezEnLaEsquinaYAlCerrarGuardaDondeQuedo) {
    CarpetaDePrueba carpeta;
    QWidget ventana;
    ventana.setObjectName(QStringLiteral("frmRemisPorcen"));
    PosicionDeVentana::AplicaPosicion(&ventana);
    EXPECT_EQ(ventana.pos(), QPoint(0, 0));
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()), registro(0, 0, "FRMREMISPORCEN"));

    ventana.move(100, 40);
    PosicionDeVentana::GuardaPosicion(&ventana);
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()), registro(600, 1500, "FRMREMISPORCEN"));

    QWidget otraVez;
    otraVez.setObjectName(QStringLiteral("frmRemisPorcen"));
    PosicionDeVentana::AplicaPosicion(&otraVez);
    EXPECT_EQ(otraVez.pos(), QPoint(100, 40));
}

TEST(Posiciones, UnRegistroPorVentanaEnOrdenDePrimeraApertura) {
    CarpetaDePrueba carpeta;
    for (const char* nombre : {"frmRemisTyP", "frmReproceso", "frmRemisPorcen", "frmRemisTyP"}) {
        QWidget v;
        v.setObjectName(QString::fromLatin1(nombre));
        PosicionDeVentana::AplicaPosicion(&v);
        PosicionDeVentana::GuardaPosicion(&v);
    }
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()), registro(0, 0, "FRMREMISTYP") +
                                                               registro(0, 0, "FRMREPROCESO") +
                                                               registro(0, 0, "FRMREMISPORCEN"));
}

TEST(Posiciones, UnNombreEnMinusculasNoCoincide) {
    CarpetaDePrueba carpeta;
    CarpetaDePrueba::escribe(Posiciones::Archivo(), registro(300, 450, "frmreproceso"));
    QString clave = QStringLiteral("frmReproceso");
    qint16 arriba = -1;
    qint16 izquierda = -1;
    Posiciones::LeePosicion(clave, arriba, izquierda);
    EXPECT_EQ(clave, QStringLiteral("FRMREPROCESO"));
    EXPECT_EQ(arriba, 0);
    EXPECT_EQ(izquierda, 0);
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()),
              registro(300, 450, "frmreproceso") + registro(0, 0, "FRMREPROCESO"));
}

TEST(Posiciones, FueraDelRangoDeDieciseisBitsSeAjustaAlBorde) {
    CarpetaDePrueba carpeta;
    QWidget ventana;
    ventana.setObjectName(QStringLiteral("frmRemisTyP"));
    ventana.move(3000, -3000);
    PosicionDeVentana::GuardaPosicion(&ventana);
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()), registro(-32768, 32767, "FRMREMISTYP"));
}

} // namespace
