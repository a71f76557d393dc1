#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/LibroLeido.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/Formato.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The two reprint windows on a store with series and notes on two days, folios 501 to 503.
class ExportarEnVentanas : public TiendaConSeries {
protected:
    void SetUp() override {
        TiendaConSeries::SetUp();
        AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 501},
                           {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 502},
                           {3, QDate(2026, 11, 3), 300, 48, 0, QStringLiteral("A"), 503}});
    }

    void pulsa(QWidget& ventana, const char* boton) {
        QTest::mouseClick(Control<QPushButton>(ventana, boton), Qt::LeftButton);
    }
    bool habilitado(QWidget& ventana, const char* boton) {
        return Control<QPushButton>(ventana, boton)->isEnabled();
    }
    void aplicaTope(frmRemisTyP& ventana) {
        LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "1000", "1500");
        pulsa(ventana, "cmdAplicar");
    }
};

// «Exportar…» writes what the window shows: the file the clerk names (.xlsx added when the name
// has no ending), its totals row the window's totals; a cancelled dialog writes nothing.
TEST_F(ExportarEnVentanas, GuardaLoQueLaVentanaMuestra) {
    frmRemisTyP tope;
    ASSERT_TRUE(ActivaVentana(&tope));
    aplicaTope(tope);
    ASSERT_TRUE(habilitado(tope, "cmdExportar"));
    dialogos.eligeArchivo(QString());
    pulsa(tope, "cmdExportar");
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_TRUE(
        dialogos.cajas()[0].texto.endsWith(QStringLiteral("tope-2026-11-02-al-2026-11-03.xlsx")))
        << qPrintable(dialogos.cajas()[0].texto);
    dialogos.eligeArchivo(carpeta.ruta(QStringLiteral("noviembre")));
    pulsa(tope, "cmdExportar");
    const QString libro = carpeta.ruta(QStringLiteral("noviembre.xlsx"));
    ASSERT_EQ(dialogos.cajas().size(), 3);
    EXPECT_EQ(dialogos.cajas()[2].texto, QStringLiteral("Archivo %1 generado").arg(libro));
    EXPECT_EQ(dialogos.cajas()[2].titulo, QStringLiteral("Listo"));
    const QVector<HojaLeida> hojas = LeeXlsx(libro);
    ASSERT_EQ(hojas.size(), 2);
    auto* reja = Control<QTableWidget>(tope, "mfgReja");
    const int totales = reja->rowCount() - 1;
    const HojaLeida& dias = hojas[0];
    for (const auto& [columnaReja, columnaHoja] : {std::pair{2, 1}, {3, 3}, {4, 4}}) {
        const QString celda = dias.celda(dias.celdas.size() - 1, columnaHoja);
        EXPECT_EQ(columnaReja == 4
                      ? celda
                      : Formato::Numero(celda.toDouble(), QStringLiteral("###,###,##0.00")),
                  reja->item(totales, columnaReja)->text())
            << columnaReja;
    }
    tope.close();

    frmRemisPorcen porcentaje;
    ASSERT_TRUE(ActivaVentana(&porcentaje));
    LlenaPorcentaje(porcentaje, "501", "503", "A", "15");
    EXPECT_FALSE(habilitado(porcentaje, "cmdExportar"));
    pulsa(porcentaje, "Command2");
    ASSERT_TRUE(habilitado(porcentaje, "cmdExportar"));
    const QString csv = carpeta.ruta(QStringLiteral("porcentaje.csv"));
    dialogos.eligeArchivo(csv);
    pulsa(porcentaje, "cmdExportar");
    const QVector<QStringList> lineas = LeeCsv(CarpetaDePrueba::lee(csv));
    ASSERT_EQ(lineas.size(), 5);
    const QString resumen = Control<QLabel>(porcentaje, "Label7")->text();
    for (int c = 5; c <= 12; ++c) {
        EXPECT_TRUE(resumen.contains(
            ReimpresionConPorcentaje::FormatoImporte(Importe::DeTexto(lineas[4][c]))))
            << c << " " << qPrintable(lineas[4][c]);
    }
    EXPECT_EQ(lineas[4][12], QStringLiteral("493.00"));
}

} // namespace
