#include "hostdata/Proceso.h"
#include "jobs/cap_reprint/frmRemisTyP.h"
#include "jobs/percent_reprint/frmRemisPorcen.h"
#include "orvlib/ArchivoIni.h"
#include "printing/ImpresionDeRemisiones.h"
#include "printing/modRPTs.h"
#include "startup/Principal.h"
#include "support/BaseDePrueba.h"
#include "support/CarpetaDePrueba.h"
#include "support/Espera.h"
#include "support/NotasDePrueba.h"
#include "support/Pdf.h"
#include "support/ProgramaDePrueba.h"
#include "support/TiendaDePrueba.h"
#include "ui/DialogosGuionados.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kDia(2026, 11, 2);

// A store ready to print: templates, data sources, company, and notes over two days.
class ImpresionDeTrabajos : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        AgregaNotas(base, {{11, kDia, 1000, 160, 0, QStringLiteral("A"), 501},
                           {12, kDia, 500, 80, 0, QStringLiteral("A"), 502},
                           {13, kDia.addDays(1), 200, 32, 0, QStringLiteral("A"), 503},
                           {14, kDia.addDays(1), 300, 48, 0, QStringLiteral("B"), 504}});
    }

    void escribe(QWidget& ventana, const char* caja, const char* texto) {
        Control<QLineEdit>(ventana, caja)->setText(QString::fromUtf8(texto));
    }

    void aplicaTope(frmRemisTyP& ventana) {
        escribe(ventana, "mkeFecha_0", "02/11/2026");
        escribe(ventana, "mkeFecha_1", "03/11/2026");
        escribe(ventana, "txtDato_4", "A");
        escribe(ventana, "txtDato_2", "100000");
        escribe(ventana, "txtDato_3", "1500");
        QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    }
};

TEST_F(ImpresionDeTrabajos, ElTopeImprimeUnPdfPorCopiaConSuNuevoFolio) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(false);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(Nuevos().isEmpty());
    EXPECT_EQ(dialogos.cajas().size(), 1);

    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    const QStringList pdfs = Nuevos();
    ASSERT_EQ(pdfs.size(), 3);
    const char* folios[] = {"A 1500", "A 1501", "A 1502"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(PaginasDePdf(pdfs[i]).join(QString()).contains(QString::fromLatin1(folios[i])))
            << folios[i];
    }
    ASSERT_EQ(dialogos.cajas().size(), 3);
    EXPECT_EQ(dialogos.cajas()[1].texto, QStringLiteral("¿Desea imprimir estas remisiones?"));
    EXPECT_TRUE(dialogos.cajas()[1].noPorDefecto);
    EXPECT_EQ(dialogos.cajas()[2].texto, QStringLiteral("Remisiones impresas"));
    EXPECT_EQ(dialogos.cajas()[2].titulo, QStringLiteral("Atención"));
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command3")->isVisible());
}

TEST_F(ImpresionDeTrabajos, CancelarTerminaTrasElDocumentoEnCurso) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(true);
    auto* cancelar = Control<QPushButton>(ventana, "Command3");
    auto* progreso = Control<QLabel>(ventana, "Label8");
    QString visto;
    // Clicked as soon as the run lets events through, while the first note is in progress.
    QTimer::singleShot(0, &ventana, [&] {
        visto = progreso->text();
        EXPECT_TRUE(cancelar->isVisible() && cancelar->isEnabled());
        cancelar->click();
    });
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_EQ(visto, QStringLiteral("Remisión 1500"));
    EXPECT_EQ(Nuevos().size(), 1);
    EXPECT_EQ(dialogos.cajas().last().texto, QStringLiteral("Remisiones impresas"));
}

TEST_F(ImpresionDeTrabajos, ListaParaLaFacturaGlobalYSuLimpieza) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    const QString bandera =
        carpeta.ruta(QStringLiteral("host")) + QDir::separator() + QStringLiteral("RdRpFG.txt");
    dialogos.responde(false);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command2"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(bandera));
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command2"), Qt::LeftButton);
    EXPECT_EQ(CarpetaDePrueba::lee(bandera),
              QByteArray("11,\"A\",1500\r\n12,\"A\",1501\r\n13,\"A\",1502\r\n"));
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Archivo ") + bandera + QStringLiteral(" generado"));
    EXPECT_EQ(dialogos.cajas().last().titulo, QStringLiteral("Listo"));
    EXPECT_EQ(
        dialogos.cajas()[1].texto,
        QStringLiteral("¿Desea generar la lista de estas remisiones, para facturar en Orvane?"));
    QTest::mouseClick(Control<QPushButton>(ventana, "Command4"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(bandera));
    QTest::mouseClick(Control<QPushButton>(ventana, "Command4"), Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().size(), 3);
}

TEST_F(ImpresionDeTrabajos, PorcentajeCompruebaEImprimeLosImportesReducidos) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* imprimir = Control<QPushButton>(ventana, "Command1");
    auto* porcentaje = Control<QLineEdit>(ventana, "txtDato_2");
    EXPECT_FALSE(imprimir->isEnabled());
    EXPECT_EQ(porcentaje->text(), QStringLiteral("0.00"));
    EXPECT_TRUE(Control<QLineEdit>(ventana, "txtDato_4")->isVisible());

    porcentaje->setFocus();
    ASSERT_TRUE(EsperaHasta([porcentaje] { return porcentaje->hasFocus(); }));
    porcentaje->clear();
    QTest::keyClicks(porcentaje, QStringLiteral("100"));
    QTest::keyClick(porcentaje, Qt::Key_Tab);
    EXPECT_TRUE(EsperaHasta([porcentaje] { return porcentaje->hasFocus(); }));
    EXPECT_EQ(porcentaje->text(), QStringLiteral("0.00"));

    escribe(ventana, "txtDato_0", "501");
    escribe(ventana, "txtDato_1", "502");
    escribe(ventana, "txtDato_4", "A");
    porcentaje->setText(QStringLiteral("15"));
    QTest::mouseClick(Control<QPushButton>(ventana, "Command2"), Qt::LeftButton);
    EXPECT_TRUE(imprimir->isEnabled());
    const QString resumen = Control<QLabel>(ventana, "Label7")->text();
    EXPECT_TRUE(resumen.startsWith(QStringLiteral("Subtotal real:        1,500.00\n")));
    EXPECT_TRUE(resumen.endsWith(QStringLiteral("Nuevo total:          1,479.00")));
    EXPECT_EQ(Control<QLabel>(ventana, "Label7")->font().styleHint(), QFont::Monospace);

    dialogos.responde(true);
    QTest::mouseClick(imprimir, Qt::LeftButton);
    const QStringList pdfs = Nuevos();
    ASSERT_EQ(pdfs.size(), 2);
    const QString primera = PaginasDePdf(pdfs[0]).join(QString());
    EXPECT_TRUE(primera.contains(QStringLiteral("A 501")));
    EXPECT_TRUE(primera.contains(QStringLiteral("986.00")));
    EXPECT_TRUE(primera.contains(QStringLiteral("(NOVECIENTOS OCHENTA Y SEIS PESOS 00/100 M.N.)")));

    escribe(ventana, "txtDato_0", "900");
    escribe(ventana, "txtDato_1", "901");
    QTest::mouseClick(Control<QPushButton>(ventana, "Command2"), Qt::LeftButton);
    dialogos.responde(true);
    QTest::mouseClick(imprimir, Qt::LeftButton);
    EXPECT_EQ(Nuevos().size(), 2);
    EXPECT_EQ(dialogos.cajas().last().texto, QStringLiteral("Remisiones impresas"));
    ventana.close();
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

TEST_F(ImpresionDeTrabajos, LasOrdenesDeConsolaImprimenEnPdf) {
    const QString pdf = carpeta.ruta(QStringLiteral("consola"));
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                    QStringLiteral("501"), QStringLiteral("--final"), QStringLiteral("503"),
                    QStringLiteral("--porcentaje"), QStringLiteral("15"), QStringLiteral("--serie"),
                    QStringLiteral("A"), QStringLiteral("--imprimir"), QStringLiteral("--pdf"),
                    pdf});
    ASSERT_TRUE(programa.waitForFinished(60000));
    EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(programa.readAllStandardOutput()),
              QStringLiteral("Subtotal real:        1,700.00\n"
                             "I. V. A. real:          272.00\n"
                             "Imp. ad. real:            0.00\n"
                             "Total real:           1,972.00\n"
                             "\n"
                             "Nuevo subtotal:       1,445.00\n"
                             "Nuevo I. V. A.:         231.20\n"
                             "Nuevo imp. ad.:           0.00\n"
                             "Nuevo total:          1,676.20\n"
                             "Remisiones impresas\n"));
    EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), 3);

    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("1"),
                    QStringLiteral("--final"), QStringLiteral("9"), QStringLiteral("--porcentaje"),
                    QStringLiteral("100")});
    ASSERT_TRUE(programa.waitForFinished(30000));
    EXPECT_NE(programa.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(programa.readAllStandardError())
                    .contains(QStringLiteral("menor que 100")));

    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
                    QStringLiteral("--hasta"), QStringLiteral("03/11/2026"),
                    QStringLiteral("--tope"), QStringLiteral("1"), QStringLiteral("--folio"),
                    QStringLiteral("7"), QStringLiteral("--serie"), QStringLiteral("A"),
                    QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(programa.waitForFinished(60000));
    EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), 5);
}

} // namespace
