#include "ventanas/VentanasDePrueba.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"

#include <QFile>

namespace {

// Another workstation changes the chosen notes after the check: nothing is printed, listed or
// invoiced, and the clerk is told which notes changed and to run the check again.
using VigenciaDeVentanas = VentanasDePrueba;

void esRechazoDeCambio(const DialogosGuionados& dialogos, const char* folio, const char* que,
                       const char* boton) {
    ASSERT_FALSE(dialogos.cajas().isEmpty());
    const DialogosGuionados::Caja& caja = dialogos.cajas().last();
    EXPECT_FALSE(caja.esPregunta);
    EXPECT_TRUE(caja.texto.startsWith(QStringLiteral("No se hizo nada: desde que se eligieron, "
                                                     "una de las remisiones elegidas cambió en "
                                                     "otra estación: ")))
        << qPrintable(caja.texto);
    EXPECT_TRUE(caja.texto.contains(QString::fromUtf8(folio) + QStringLiteral(" (") +
                                    QString::fromUtf8(que) + QLatin1Char(')')))
        << qPrintable(caja.texto);
    EXPECT_TRUE(caja.texto.contains(QString::fromUtf8(boton))) << qPrintable(caja.texto);
}

TEST_F(VigenciaDeVentanas, TopeNoImprimeNiListaRemisionesQueCambiaron) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "1000", "1500");
    pulsa(ventana, "cmdAplicar");
    ASSERT_TRUE(dialogos.cajas().isEmpty());
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Cancelada=1 WHERE Id=2"));
    pulsa(ventana, "Command1");
    esRechazoDeCambio(dialogos, "A 502", "cancelada", "«Aplicar»");
    const qsizetype cajas = dialogos.cajas().size();
    dialogos.responde(true);
    pulsa(ventana, "Command2");
    esRechazoDeCambio(dialogos, "A 502", "cancelada", "«Aplicar»");
    EXPECT_EQ(dialogos.cajas().size(), cajas + 2);
    EXPECT_FALSE(QFile::exists(carpeta.ruta(QStringLiteral("host/RdRpFG.txt"))));
}

TEST_F(VigenciaDeVentanas, PorcentajeNoImprimeRemisionesQueCambiaron) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "501", "503", "A", "15");
    pulsa(ventana, "Command2");
    ASSERT_TRUE(dialogos.cajas().isEmpty());
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Subtotal=Subtotal+1 WHERE Id=3"));
    pulsa(ventana, "Command1");
    esRechazoDeCambio(dialogos, "A 503", "cambió", "«Comprobar»");
    EXPECT_EQ(dialogos.cajas().size(), 1);
}

TEST_F(VigenciaDeVentanas, FacturaNoSeGeneraConRemisionesQueOtraEstacionFacturo) {
    frmReproceso ventana;
    ASSERT_TRUE(ventana.Cargada());
    ASSERT_TRUE(ActivaVentana(&ventana));
    escribe(ventana, "txtDato_3", QStringLiteral("10"));
    pulsa(ventana, "cmdAplicar");
    ASSERT_TRUE(dialogos.cajas().isEmpty());
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Facturada=99, Cancelada=1 WHERE Id=4"));
    pulsa(ventana, "cmdGenerar");
    esRechazoDeCambio(dialogos, "A 504", "cancelada", "«Aplicar»");
    EXPECT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM facturas")).toInt(), 0);
}

} // namespace
