#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Proceso.h"
#include "tienda/Posiciones.h"
#include "ventanas/frmRemisTyP.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kDia1(2026, 11, 2);
const QDate kDia2(2026, 11, 3);
const QDate kDia3(2026, 11, 4);

// A program folder whose ini names a registered host folder and the test database.
class VentanaDeTope : public TiendaConSeries {
protected:
    void SetUp() override {
        TiendaConSeries::SetUp();
        AgregaNotas(base, {{1, kDia1, 100},
                           {2, kDia1, 100},
                           {3, kDia2, 300},
                           {4, kDia3, 50},
                           {5, kDia3, 50},
                           {6, kDia3, 40, 0, 0, QStringLiteral("B")}});
    }
};

TEST_F(VentanaDeTope, AplicarLlenaLaRejaConTintesYTotales) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* serie = Control<QLineEdit>(ventana, "txtDato_4");
    auto* tope = Control<QLineEdit>(ventana, "txtDato_2");
    auto* folio = Control<QLineEdit>(ventana, "txtDato_3");
    EXPECT_TRUE(serie->isVisible());
    EXPECT_EQ(tope->text(), QStringLiteral("0.00"));
    EXPECT_EQ(Control<QLineEdit>(ventana, "mkeFecha_0")->text(),
              libKwtm::TextoDeFecha(QDate::currentDate()));

    Control<QLineEdit>(ventana, "mkeFecha_0")->setText(QStringLiteral("02/11/2026"));
    Control<QLineEdit>(ventana, "mkeFecha_1")->setText(QStringLiteral("04/11/2026"));
    serie->setText(QStringLiteral("A"));
    tope->clear();
    QTest::keyClicks(tope, QStringLiteral("2x00"));
    EXPECT_EQ(tope->text(), QStringLiteral("200"));
    folio->clear();
    QTest::keyClicks(folio, QStringLiteral("1500"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);

    auto* reja = Control<QTableWidget>(ventana, "mfgReja");
    ASSERT_TRUE(reja->isVisible());
    ASSERT_EQ(reja->rowCount(), 5);
    const QStringList esperadas[] = {
        {"1", "02/nov/2026", "200.00", "100.00", "1", "Del 1500 al 1500"},
        {"2", "03/nov/2026", "300.00", "300.00", "1", "Del 1501 al 1501"},
        {"3", "04/nov/2026", "100.00", "50.00", "1", "Del 1502 al 1502"},
        {"", "", "", "", "", ""},
        {"", "Totales:", "600.00", "450.00", "3", ""},
    };
    for (int f = 0; f < 5; ++f) {
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(reja->item(f, c)->text(), esperadas[f][c]) << f << "," << c;
        }
    }
    EXPECT_EQ(reja->item(0, 1)->background(), QBrush());
    EXPECT_EQ(reja->item(1, 1)->background().color(), QColor(0xE0, 0xF3, 0xFE));
    EXPECT_EQ(reja->item(1, 0)->background(), QBrush());
    EXPECT_EQ(reja->item(2, 3)->background(), QBrush());
    EXPECT_EQ(reja->item(4, 1)->background().color(), QColor(0xDA, 0xFF, 0xC4));
    EXPECT_TRUE(reja->item(4, 1)->font().bold());
    EXPECT_EQ(reja->item(4, 3)->background().color(), QColor(0xFE, 0xFF, 0xD9));
    EXPECT_EQ(reja->horizontalHeaderItem(5)->text(), QStringLiteral("Números"));
    EXPECT_EQ(reja->columnWidth(5), 2500 / 15);
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command2")->isVisible());
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command4")->isVisible());

    ventana.close();
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
    EXPECT_EQ(CarpetaDePrueba::lee(Posiciones::Archivo()).mid(4, 11), QByteArray("FRMREMISTYP"));
}

// A cap not typed yet (0.00) lets the clerk move on; "Aplicar" refuses it beside the field.
TEST_F(VentanaDeTope, ElTopeEnCeroDejaPasarYAplicarLoExige) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* tope = Control<QLineEdit>(ventana, "txtDato_2");
    tope->setFocus();
    ASSERT_TRUE(EsperaHasta([tope] { return tope->hasFocus(); }));
    QTest::keyClick(tope, Qt::Key_Tab);
    EXPECT_TRUE(
        EsperaHasta([&ventana] { return Control<QLineEdit>(ventana, "txtDato_3")->hasFocus(); }));
    EXPECT_EQ(tope->text(), QStringLiteral("0.00"));

    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("10"));
    // Inputs are checked before any table is touched.
    base.ejecuta(QStringLiteral("CREATE TABLE tmpremisiones (x INT)"));
    base.ejecuta(QStringLiteral("INSERT INTO tmpremisiones VALUES (7)"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    EXPECT_FALSE(Control<QTableWidget>(ventana, "mfgReja")->isVisible());
    EXPECT_EQ(base.valor(QStringLiteral("SELECT x FROM tmpremisiones")).toInt(), 7);
    EXPECT_TRUE(EsperaHasta([tope] { return tope->hasFocus(); }));
    EXPECT_EQ(Control<QLabel>(ventana, "lblAviso")->text(),
              QStringLiteral("El tope debe ser mayor que 0"));
}

class VentanaDeTopeAplicada : public VentanaDeTope {
protected:
    // The store is set up before the window is made: the window reads its settings as it loads.
    bool tienda = (VentanaDeTope::SetUp(), true);
    frmRemisTyP ventana;
    QTableWidget* reja = nullptr;

    void SetUp() override {
        ASSERT_TRUE(ActivaVentana(&ventana));
        reja = Control<QTableWidget>(ventana, "mfgReja");
        aplica("1500");
        ASSERT_EQ(reja->rowCount(), 5);
    }

    void aplica(const char* folio) {
        Control<QLineEdit>(ventana, "mkeFecha_0")->setText(QStringLiteral("02/11/2026"));
        Control<QLineEdit>(ventana, "mkeFecha_1")->setText(QStringLiteral("04/11/2026"));
        Control<QLineEdit>(ventana, "txtDato_4")->setText(QStringLiteral("A"));
        Control<QLineEdit>(ventana, "txtDato_2")->setText(QStringLiteral("1000"));
        Control<QLineEdit>(ventana, "txtDato_3")->setText(QString::fromLatin1(folio));
        QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    }

    QString folios() {
        return base
            .valor(QStringLiteral("SELECT GROUP_CONCAT(Factura ORDER BY Id) FROM tmpremisiones"))
            .toString();
    }
};

// A refused "Aplicar" keeps the last good run whole: its grid and its copies; "&Imprimir" waits
// until the inputs are those of the grid again.
TEST_F(VentanaDeTopeAplicada, UnAplicarRechazadoConservaLaCorridaAnterior) {
    const QString lista = carpeta.ruta(QStringLiteral("programa/ListaRemisiones.txt"));
    const QByteArray listaAntes = CarpetaDePrueba::lee(lista);
    const char* rechazados[] = {"2147483644", "2147483648", "99999999999999"};
    for (const char* folio : rechazados) {
        aplica(folio);
        ASSERT_FALSE(dialogos.cajas().isEmpty()) << folio;
        EXPECT_EQ(dialogos.cajas().last().titulo, QStringLiteral("Atención"));
        EXPECT_EQ(reja->rowCount(), 5) << folio;
        EXPECT_EQ(reja->item(0, 5)->text(), QStringLiteral("Del 1500 al 1501")) << folio;
        EXPECT_EQ(folios(), QStringLiteral("1500,1501,1502,1503,1504")) << folio;
        EXPECT_FALSE(Control<QPushButton>(ventana, "Command1")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(ventana, "cmdAplicar")->isEnabled());
    }
    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("1,500"));
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_TRUE(dialogos.cajas().first().texto.contains(QStringLiteral("llegarían al folio "
                                                                       "2147483648")))
        << qPrintable(dialogos.cajas().first().texto);
    EXPECT_EQ(CarpetaDePrueba::lee(lista), listaAntes);

    // The largest folio that fits is taken.
    aplica("2147483643");
    EXPECT_EQ(folios(), QStringLiteral("2147483643,2147483644,2147483645,2147483646,2147483647"));
    EXPECT_EQ(reja->item(2, 5)->text(), QStringLiteral("Del 2147483646 al 2147483647"));
}

// A run that fails half-way clears the grid and "&Imprimir": what is shown and what would be
// printed never disagree, and the window stays usable.
TEST_F(VentanaDeTopeAplicada, UnaFallaVaciaLaRejaYDeshabilitaImprimir) {
    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle TO remisionesdetalle_aparte"));
    aplica("700");
    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle_aparte TO remisionesdetalle"));
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].titulo, QStringLiteral("Alerta"));
    EXPECT_EQ(reja->rowCount(), 0);
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command2")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdAplicar")->isEnabled());
    aplica("700");
    EXPECT_EQ(reja->rowCount(), 5);
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
}

// Beside the grid the window shows what the run chose: the chosen total against the cap, a day's
// notes when its row is chosen, and the run's summary on paper; a failed run clears them.
TEST_F(VentanaDeTopeAplicada, LoElegidoSeVeAntesDeImprimir) {
    EXPECT_EQ(Control<QLabel>(ventana, "lblElegido")->text(),
              QStringLiteral("Elegido 600.00 de un tope de 1,000.00 (cada día incluye la remisión "
                             "que alcanza su parte)"));
    reja->setCurrentCell(2, 1);
    QStringList vistas;
    QTimer::singleShot(0, [&vistas] {
        auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        auto* tabla = dialogo->findChild<QTableWidget*>(QStringLiteral("tblRemisiones"));
        for (int f = 0; tabla != nullptr && f < tabla->rowCount(); ++f) {
            vistas << QStringLiteral("%1 %2 %3")
                          .arg(tabla->item(f, 0)->text(), tabla->item(f, 2)->text(),
                               tabla->item(f, 3)->text());
        }
        vistas << dialogo->findChild<QLabel*>(QStringLiteral("lblParte"))->text();
        dialogo->reject();
    });
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdVerRemisiones"), Qt::LeftButton);
    EXPECT_EQ(vistas, (QStringList{"A 4 50.00 1503", "A 5 50.00 1504",
                                   "Vendido: 100.00   Parte del tope: 166.67   Elegido: 100.00 "
                                   "en 2 remisiones"}));

    QTest::mouseClick(Control<QPushButton>(ventana, "cmdResumen"), Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    const QString ruta =
        dialogos.cajas()[0].texto.section(QStringLiteral("Resumen guardado en "), 1);
    const QString texto = PaginasDePdf(ruta).join(QLatin1Char('\n')).simplified();
    EXPECT_TRUE(texto.contains(QStringLiteral("04/nov/2026 100.00 100.00 2 Del 1503 al 1504")))
        << qPrintable(texto);
    EXPECT_TRUE(texto.contains(QStringLiteral("Bitácora: tope aplicar: del 02/11/2026 al")))
        << qPrintable(texto);

    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle TO remisionesdetalle_aparte"));
    aplica("700");
    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle_aparte TO remisionesdetalle"));
    EXPECT_TRUE(Control<QLabel>(ventana, "lblElegido")->text().isEmpty());
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdVerRemisiones")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdResumen")->isEnabled());
}

// Enter on the grid goes nowhere: it does not run "&Aplicar" again.
TEST_F(VentanaDeTopeAplicada, EnterEnLaRejaNoVuelveAAplicar) {
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Cancelada=1"));
    ASSERT_TRUE(reja->hasFocus());
    QTest::keyClick(reja, Qt::Key_Return);
    QTest::keyClick(reja, Qt::Key_Enter);
    EXPECT_EQ(reja->rowCount(), 5);
    EXPECT_EQ(folios(), QStringLiteral("1500,1501,1502,1503,1504"));
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(VentanaDeTope, UnErrorDeBaseDeDatosSeAvisaYLaVentanaSigueUsable) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    Control<QLineEdit>(ventana, "txtDato_2")->setText(QStringLiteral("100"));
    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("1"));
    base.ejecuta(QStringLiteral("DROP TABLE remisionesdetalle"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].titulo, QStringLiteral("Alerta"));
    EXPECT_TRUE(dialogos.cajas()[0].texto.startsWith(QStringLiteral("Falta una tabla")));
    EXPECT_TRUE(dialogos.cajas()[0].detalle.contains(QStringLiteral("remisionesdetalle")));
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdAplicar")->isEnabled());
}

TEST_F(VentanaDeTope, LaOrdenTopeImprimeLaRejaYNoDejaTablasDeTrabajo) {
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
                    QStringLiteral("--hasta"), QStringLiteral("04/11/2026"),
                    QStringLiteral("--tope"), QStringLiteral("300"), QStringLiteral("--folio"),
                    QStringLiteral("1500"), QStringLiteral("--serie"), QStringLiteral("A")});
    ASSERT_TRUE(programa.waitForFinished(30000));
    EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(programa.readAllStandardOutput()),
              QStringLiteral("\tDía\tTotal real\t$ a imprimir\tNo. de remis.\tNúmeros\n"
                             "1\t02/nov/2026\t200.00\t200.00\t2\tDel 1500 al 1501\n"
                             "2\t03/nov/2026\t300.00\t300.00\t1\tDel 1502 al 1502\n"
                             "3\t04/nov/2026\t100.00\t100.00\t2\tDel 1503 al 1504\n"
                             "\tTotales:\t600.00\t600.00\t5\t\n"
                             "Elegido 600.00 de un tope de 300.00 (cada día incluye la remisión "
                             "que alcanza su parte)\n"));
    EXPECT_EQ(CarpetaDePrueba::lee(carpeta.ruta(QStringLiteral("programa/ListaRemisiones.txt"))),
              QByteArray("1,\"A\",1500\r\n2,\"A\",1501\r\n3,\"A\",1502\r\n4,\"A\",1503\r\n"
                         "5,\"A\",1504\r\n"));
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

} // namespace
