#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/CupsDePrueba.h"
#include "apoyo/DiscoPequeno.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/CamposBin.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "orvlib/Windows1252.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/Reporteador.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPaintEngine>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSysInfo>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kDia(2026, 11, 2);

// The engine of a printer that takes the pages and refuses the document at its end, as a queue
// that went away while the note was sent.
class MotorQueNoTermina : public QPaintEngine {
public:
    MotorQueNoTermina()
        : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return QPaintEngine::User; }
};

class ImpresoraQueNoTermina : public QPrinter {
public:
    QPaintEngine* paintEngine() const override { return &motor_; }

private:
    mutable MotorQueNoTermina motor_;
};

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

    struct Salida {
        int codigo = -1;
        QString salida;
        QString errores;
    };

    // The program run from the command line with those arguments, to its end.
    static Salida corre(const QStringList& argumentos) {
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), argumentos);
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardOutput()),
                QString::fromUtf8(programa.readAllStandardError())};
    }

    // The percentage job over folios 501 to 503 of series A, with the options given.
    static QStringList porcentaje(const QStringList& opciones = {}) {
        return QStringList{QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                           QStringLiteral("501"),        QStringLiteral("--final"),
                           QStringLiteral("503"),        QStringLiteral("--porcentaje"),
                           QStringLiteral("15"),         QStringLiteral("--serie"),
                           QStringLiteral("A")} +
               opciones;
    }

    void escribe(QWidget& ventana, const char* caja, const char* texto) {
        Control<QLineEdit>(ventana, caja)->setText(QString::fromUtf8(texto));
    }

    void aplicaTope(frmRemisTyP& ventana) {
        LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "100000", "1500");
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
    EXPECT_EQ(dialogos.cajas()[1].texto, QStringLiteral("¿Desea imprimir estas remisiones?\r\n\r\n"
                                                        "Son 3 remisiones, de la A 1500 a la A "
                                                        "1502."));
    EXPECT_TRUE(dialogos.cajas()[1].noPorDefecto);
    EXPECT_EQ(dialogos.cajas()[2].texto, QStringLiteral("Remisiones impresas: 3") + EnLaCarpeta());
    EXPECT_EQ(dialogos.cajas()[2].titulo, QStringLiteral("Atención"));
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdAplicar")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command3")->isVisible());

    // One line of the trail per run: when, where, who, what, with what, and how it ended.
    const QStringList lineas = Windows1252::decodifica(CarpetaDePrueba::lee(Bitacora::Archivo()))
                                   .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_TRUE(lineas[2].isEmpty());
    const QStringList aplicar = lineas[0].split(QLatin1Char('\t'));
    ASSERT_EQ(aplicar.size(), 6);
    EXPECT_EQ(QDateTime::fromString(aplicar[0], QStringLiteral("yyyy-MM-dd hh:mm:ss")).date(),
              QDate::currentDate());
    EXPECT_EQ(aplicar[1], QSysInfo::machineHostName());
    EXPECT_EQ(aplicar[3], QStringLiteral("tope aplicar"));
    EXPECT_EQ(aplicar[4], QStringLiteral("del 02/11/2026 al 03/11/2026, serie 'A', tope "
                                         "100,000.00, folio 1500"));
    EXPECT_EQ(aplicar[5], QStringLiteral("3 remisiones elegidas en 2 días; a imprimir 1,972.00 "
                                         "de 1,972.00"));
    const QStringList imprimir = lineas[1].split(QLatin1Char('\t'));
    ASSERT_EQ(imprimir.size(), 6);
    EXPECT_EQ(imprimir[3], QStringLiteral("tope imprimir"));
    EXPECT_EQ(imprimir[4], aplicar[4] + QStringLiteral("; pdf ") +
                               QDir::toNativeSeparators(carpeta.ruta(QStringLiteral("pdf"))));
    EXPECT_EQ(imprimir[5], QStringLiteral("impresas 3 de 3, en la cola 0, con error 0"));
}

TEST_F(ImpresionDeTrabajos, CancelarTerminaTrasElDocumentoEnCurso) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(true);
    auto* cancelar = Control<QPushButton>(ventana, "Command3");
    auto* progreso = Control<QLabel>(ventana, "Label8");
    auto* barra = Control<QProgressBar>(ventana, "barImpresion");
    QString visto;
    // Clicked as soon as the run lets events through, while the first note is in progress.
    QTimer::singleShot(0, &ventana, [&] {
        visto = progreso->text() + QLatin1Char('|') + barra->text();
        EXPECT_TRUE(cancelar->isVisible() && cancelar->isEnabled());
        cancelar->click();
    });
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_EQ(visto, QStringLiteral("Remisión 1500|1 de 3"));
    EXPECT_EQ(Nuevos().size(), 1);
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Impresión cancelada. Se imprimió 1 de 3 remisiones.") +
                  EnLaCarpeta());
    EXPECT_EQ(dialogos.cajas().last().titulo, QStringLiteral("Atención"));
}

// A table the report engine reads goes missing once the run has started (after the
// template's check): the clerk reads what is wrong and what to do; the driver's text is only
// in the details.
TEST_F(ImpresionDeTrabajos, UnaTablaQueFaltaSeExplicaSinElTextoDelControlador) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    const AlSalir regresa(
        [&] { base.ejecuta(QStringLiteral("RENAME TABLE clientes_aparte TO clientes")); });
    QTimer::singleShot(0, &ventana, [&] {
        base.ejecuta(QStringLiteral("RENAME TABLE clientes TO clientes_aparte"));
    });
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(Nuevos().isEmpty());
    const DialogosGuionados::Caja& aviso = dialogos.cajas().last();
    EXPECT_TRUE(aviso.texto.contains(QStringLiteral("Falta una tabla en la base de datos")))
        << qPrintable(aviso.texto);
    EXPECT_FALSE(aviso.texto.contains(QStringLiteral("doesn't exist"))) << qPrintable(aviso.texto);
    EXPECT_TRUE(aviso.detalle.contains(QStringLiteral("doesn't exist")))
        << qPrintable(aviso.detalle);
}

// The server goes away while the first note is in progress: the run stops with the usual
// count, says what happened in Spanish with the driver's text as detail, and the window drops
// its grid until the next "Aplicar" connects again.
TEST_F(ImpresionDeTrabajos, PerderElServidorDetieneLaCorridaConLaCuenta) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(true);
    const QString dueno = base.valor(QStringLiteral("SELECT IS_USED_LOCK('%1')")
                                         .arg(CandadoDeReimpresion::Nombre(base.nombre())))
                              .toString();
    ASSERT_FALSE(dueno.isEmpty());
    QTimer::singleShot(0, &ventana, [&] { base.ejecuta(QStringLiteral("KILL ") + dueno); });
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(Nuevos().isEmpty());
    const DialogosGuionados::Caja& aviso = dialogos.cajas().last();
    EXPECT_EQ(aviso.titulo, QStringLiteral("Error"));
    EXPECT_EQ(aviso.texto,
              QStringLiteral("La impresión se detuvo en la remisión A 1500 (plantilla "
                             "fmtRemision.rpt).\r\nSe imprimieron 0 de 3 remisiones.\r\n\r\nSe "
                             "perdió la conexión con el servidor «%1»; revise la red o el servidor "
                             "y vuelva a intentar.")
                  .arg(Proceso::actual().bases->cRuta));
    EXPECT_TRUE(aviso.detalle.contains(QStringLiteral("Error no. 20")))
        << qPrintable(aviso.detalle);
    EXPECT_EQ(Control<QTableWidget>(ventana, "mfgReja")->rowCount(), 0);
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_TRUE(CarpetaDePrueba::lee(Bitacora::Archivo()).contains("impresas 0 de 3"));
    // The offer to go on outlives the lost server: it reconnects and prints from that note.
    auto* continuar = Control<QPushButton>(ventana, "cmdContinuar");
    ASSERT_TRUE(continuar->isVisible());
    EXPECT_EQ(continuar->text(), QStringLiteral("Continuar desde la re&misión 1 (folio A 1500)"));
    dialogos.responde(true);
    QTest::mouseClick(continuar, Qt::LeftButton);
    EXPECT_EQ(Nuevos().size(), 3);
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Remisiones impresas: 3") + EnLaCarpeta());

    aplicaTope(ventana);
    EXPECT_EQ(Control<QTableWidget>(ventana, "mfgReja")->rowCount(), 4);
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
}

// Escape and the close box while the run prints act as "Cancelar": the window stays, and the
// working tables are never dropped under the running loop.
TEST_F(ImpresionDeTrabajos, EscapeYCerrarDuranteLaImpresionCancelanSinCerrar) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(true);
    int tablas = 0;
    bool barraVisible = false;
    QTimer::singleShot(0, &ventana, [&] {
        barraVisible = Control<QProgressBar>(ventana, "barImpresion")->isVisible();
        QTest::keyClick(&ventana, Qt::Key_Escape);
        ventana.close();
        tablas = base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt();
    });
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(barraVisible);
    EXPECT_EQ(tablas, 3);
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_EQ(Nuevos().size(), 1);
    EXPECT_TRUE(dialogos.cajas().last().texto.startsWith(QStringLiteral("Impresión cancelada.")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 3);
    ventana.close();
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

// A template the store lacks stops the run before its first note with one message naming the
// template and the error; nothing is asked per note and no scratch file is left.
TEST_F(ImpresionDeTrabajos, UnaPlantillaQueFaltaDetieneLaCorridaConUnSoloAviso) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    base.ejecuta(QStringLiteral("DELETE FROM reportesbin WHERE Archivo='fmtRemision.rpt'"));
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(Nuevos().isEmpty());
    ASSERT_EQ(dialogos.cajas().size(), 2);
    const DialogosGuionados::Caja& aviso = dialogos.cajas()[1];
    EXPECT_EQ(aviso.titulo, QStringLiteral("Error"));
    EXPECT_EQ(aviso.icono, Dialogos::Icono::Critico);
    EXPECT_TRUE(aviso.texto.startsWith(
        QStringLiteral("La impresión no pudo comenzar (plantilla fmtRemision.rpt)."
                       "\r\nSe imprimieron 0 de 3 remisiones.\r\n\r\nError no. 53: No se "
                       "encontró el archivo fmtremision.rpt en reportesbin")))
        << qPrintable(aviso.texto);
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 0);
    QDirIterator restos(carpeta.programa(), {QStringLiteral("*.rpt"), QStringLiteral("*.MDB")},
                        QDir::Files, QDirIterator::Subdirectories);
    EXPECT_FALSE(restos.hasNext()) << qPrintable(restos.next());
}

// Two reprints of one store database would share its working tables: while one window has
// them, a second window (or a scheduled run, on any workstation) is refused and leaves them.
TEST_F(ImpresionDeTrabajos, UnaSolaReimpresionALaVezPorBaseDeDatos) {
    frmRemisTyP primera;
    ASSERT_TRUE(ActivaVentana(&primera));
    aplicaTope(primera);
    {
        frmRemisPorcen segunda;
        ASSERT_EQ(dialogos.cajas().size(), 1);
        EXPECT_EQ(dialogos.cajas()[0].titulo, QStringLiteral("Atención"));
        // The holder's workstation and server account, and no "wait until it ends": the other
        // window may just be sitting open.
        const QString& aviso = dialogos.cajas()[0].texto;
        EXPECT_TRUE(aviso.startsWith(QStringLiteral("La base de datos '") + base.nombre() +
                                     QStringLiteral("' está reservada para reimprimir remisiones "
                                                    "por otra ventana de reimpresión, abierta en "
                                                    "la estación ")))
            << qPrintable(aviso);
        EXPECT_TRUE(aviso.contains(QStringLiteral(", usuario root."))) << qPrintable(aviso);
        EXPECT_FALSE(aviso.contains(QStringLiteral("espere"), Qt::CaseInsensitive));
        EXPECT_TRUE(EsperaHasta([&segunda] { return segunda.result() == QDialog::Rejected; }));
        segunda.close();
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 3);

    const Salida otra = corre(porcentaje());
    EXPECT_EQ(otra.codigo, 2);
    EXPECT_TRUE(otra.errores.contains(QStringLiteral("está reservada para reimprimir remisiones")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisiones")).toInt(), 3);

    primera.close();
    frmRemisPorcen despues;
    EXPECT_EQ(dialogos.cajas().size(), 1);
    despues.close();
}

// "Guardar como un solo PDF": the window's run goes into one file of the program folder, every
// copy in order, and the end message names it; the next run prints as before.
TEST_F(ImpresionDeTrabajos, LaVentanaGuardaLaCorridaEnUnSoloPdf) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    Control<QCheckBox>(ventana, "chkPdfUnico")->setChecked(true);
    const qsizetype antes = Nuevos().size();
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    ASSERT_FALSE(dialogos.cajas().isEmpty());
    const QString aviso = dialogos.cajas().last().texto;
    ASSERT_TRUE(aviso.startsWith(QStringLiteral("Remisiones impresas: 3\r\nEn el archivo ")))
        << qPrintable(aviso);
    const QString ruta = aviso.section(QStringLiteral("En el archivo "), 1);
    EXPECT_TRUE(ruta.startsWith(QDir::toNativeSeparators(carpeta.programa())));
    const QStringList paginas = PaginasDePdf(ruta);
    ASSERT_EQ(paginas.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("A %1").arg(1500 + i))) << i;
    }
    EXPECT_EQ(Nuevos().size(), antes + 1);

    Control<QCheckBox>(ventana, "chkPdfUnico")->setChecked(false);
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Remisiones impresas: 3") + EnLaCarpeta());
    EXPECT_EQ(Nuevos().size(), antes + 4);
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
              QStringLiteral("Archivo ") + bandera + QStringLiteral(" generado\r\n(3 remisiones)"));
    EXPECT_EQ(dialogos.cajas().last().titulo, QStringLiteral("Listo"));
    EXPECT_EQ(
        dialogos.cajas()[1].texto,
        QStringLiteral("¿Desea generar la lista de estas remisiones, para facturar en Orvane?"));
    // Removing the list is asked first (No by default) and said afterwards.
    dialogos.responde(false);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command4"), Qt::LeftButton);
    EXPECT_TRUE(dialogos.cajas().last().esPregunta);
    EXPECT_TRUE(dialogos.cajas().last().noPorDefecto);
    EXPECT_TRUE(QFile::exists(bandera));
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command4"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(bandera));
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Archivo ") + bandera + QStringLiteral(" eliminado"));
    QTest::mouseClick(Control<QPushButton>(ventana, "Command4"), Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().size(), 7);
    EXPECT_FALSE(dialogos.cajas().last().esPregunta);
    EXPECT_TRUE(dialogos.cajas().last().texto.startsWith(QStringLiteral("No hay lista")));
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
    // Left as typed, and the window says why.
    EXPECT_EQ(porcentaje->text(), QStringLiteral("100"));
    EXPECT_EQ(Control<QLabel>(ventana, "lblAviso")->text(),
              QStringLiteral("El porcentaje debe ser menor que 100."));

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

    // Started with Enter; a Tab and an Enter pressed during the run do not stop it: Cancelar
    // never takes the focus.
    QWidget* focoDuranteLaCorrida = nullptr;
    QTimer::singleShot(0, &ventana, [&] {
        const auto pulsaEnElFoco = [&ventana](Qt::Key tecla) {
            QWidget* foco = QApplication::focusWidget();
            QTest::keyClick(foco != nullptr ? foco : &ventana, tecla);
        };
        pulsaEnElFoco(Qt::Key_Tab);
        focoDuranteLaCorrida = QApplication::focusWidget();
        pulsaEnElFoco(Qt::Key_Return);
    });
    dialogos.responde(true);
    imprimir->setFocus();
    QTest::keyClick(imprimir, Qt::Key_Return);
    EXPECT_NE(focoDuranteLaCorrida, Control<QWidget>(ventana, "Command3"));
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Remisiones impresas: 2") + EnLaCarpeta());
    EXPECT_TRUE(imprimir->hasFocus());
    const QStringList pdfs = Nuevos();
    ASSERT_EQ(pdfs.size(), 2);
    const QString primera = PaginasDePdf(pdfs[0]).join(QString());
    EXPECT_TRUE(primera.contains(QStringLiteral("A 501")));
    EXPECT_TRUE(primera.contains(QStringLiteral("986.00")));
    EXPECT_TRUE(primera.contains(QStringLiteral("(NOVECIENTOS OCHENTA Y SEIS PESOS 00/100 M.N.)")));

    // An empty range says so and offers nothing to print.
    escribe(ventana, "txtDato_0", "900");
    escribe(ventana, "txtDato_1", "901");
    QTest::mouseClick(Control<QPushButton>(ventana, "Command2"), Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().last().texto, QStringLiteral("No hay remisiones con esos datos"));
    EXPECT_FALSE(imprimir->isEnabled());
    EXPECT_EQ(Nuevos().size(), 2);
    ventana.close();
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

TEST_F(ImpresionDeTrabajos, LasOrdenesDeConsolaImprimenEnPdf) {
    const QString pdf = carpeta.ruta(QStringLiteral("consola"));
    const Salida impresa =
        corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf}));
    EXPECT_EQ(impresa.codigo, 0) << qPrintable(impresa.errores);
    EXPECT_EQ(impresa.salida, QStringLiteral("Subtotal real:        1,700.00\n"
                                             "I. V. A. real:          272.00\n"
                                             "Imp. ad. real:            0.00\n"
                                             "Total real:           1,972.00\n"
                                             "\n"
                                             "Nuevo subtotal:       1,445.00\n"
                                             "Nuevo I. V. A.:         231.20\n"
                                             "Nuevo imp. ad.:           0.00\n"
                                             "Nuevo total:          1,676.20\n"
                                             "Son 3 remisiones, de la A 501 a la A 503.\n"
                                             "Remisiones impresas: 3\n"
                                             "En la carpeta ") +
                                  QDir::toNativeSeparators(pdf) + QStringLiteral("\n"));
    EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), 3);
    // The trail's line of the printing says what came out.
    const QStringList bitacora = Windows1252::decodifica(CarpetaDePrueba::lee(Bitacora::Archivo()))
                                     .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_FALSE(bitacora.isEmpty());
    const QStringList impresion = bitacora.last().split(QLatin1Char('\t'));
    ASSERT_EQ(impresion.size(), 6) << qPrintable(bitacora.last());
    EXPECT_EQ(impresion[3], QStringLiteral("porcentaje imprimir (consola)"));
    EXPECT_EQ(impresion[4], QStringLiteral("remisiones 501 a 503, serie 'A', porcentaje 15; pdf ") +
                                QDir::toNativeSeparators(pdf));
    EXPECT_EQ(impresion[5], QStringLiteral("impresas 3 de 3, en la cola 0, con error 0"));

    const Salida rechazada =
        corre({QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("1"),
               QStringLiteral("--final"), QStringLiteral("9"), QStringLiteral("--porcentaje"),
               QStringLiteral("100")});
    EXPECT_EQ(rechazada.codigo, 2);
    EXPECT_TRUE(rechazada.errores.contains(QStringLiteral("menor que 100")));
    // A decimal comma is refused with the fix, never read as 5.
    const Salida conComa =
        corre({QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("1"),
               QStringLiteral("--final"), QStringLiteral("9"), QStringLiteral("--porcentaje"),
               QStringLiteral("0,5")});
    EXPECT_EQ(conComa.codigo, 2);
    EXPECT_TRUE(conComa.errores.contains(QStringLiteral("--porcentaje: «0,5» no es un número: use "
                                                        "punto decimal (0.5).")))
        << qPrintable(conComa.errores);

    const Salida tope =
        corre({QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
               QStringLiteral("--hasta"), QStringLiteral("03/11/2026"), QStringLiteral("--tope"),
               QStringLiteral("1"), QStringLiteral("--folio"), QStringLiteral("7"),
               QStringLiteral("--serie"), QStringLiteral("A"), QStringLiteral("--imprimir"),
               QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(tope.codigo, 0) << qPrintable(tope.errores);
    EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), 5);
}

// A scheduled cap reprint holds the store's reprint lock until its last note is printed: while
// its PDFs are being written, the lock is held and another reprint would be refused.
TEST_F(ImpresionDeTrabajos, LaOrdenTopeConservaElCandadoMientrasImprime) {
    const QString pdf = carpeta.ruta(QStringLiteral("consola-tope"));
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
                    QStringLiteral("--hasta"), QStringLiteral("03/11/2026"),
                    QStringLiteral("--tope"), QStringLiteral("100000"), QStringLiteral("--folio"),
                    QStringLiteral("7"), QStringLiteral("--serie"), QStringLiteral("A"),
                    QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf});
    const QString candado = QStringLiteral("SELECT IS_USED_LOCK('%1')")
                                .arg(CandadoDeReimpresion::Nombre(base.nombre()));
    int vistosImprimiendo = 0;
    while (!programa.waitForFinished(20)) {
        const int hechos = QDir(pdf).entryList({QStringLiteral("*.pdf")}).size();
        if (hechos > 0 && hechos < 3 && programa.state() == QProcess::Running) {
            EXPECT_FALSE(base.valor(candado).isNull()) << hechos;
            ++vistosImprimiendo;
        }
    }
    EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), 3);
    EXPECT_GT(vistosImprimiendo, 0);
    // The server lets it go with the program's connection.
    EXPECT_TRUE(EsperaHasta([&] { return base.valor(candado).isNull(); }));
}

// A printer that refuses the document at its end stops the run with the engine's error and the
// count of the notes printed.
TEST_F(ImpresionDeTrabajos, UnaImpresoraQueNoTomaElDocumentoDetieneLaCorrida) {
    Reporteador::PonFabricaDeImpresora(
        [](const QPrinterInfo&) { return std::make_unique<ImpresoraQueNoTermina>(); });
    rpt.crpReport.Desvia(ControlDeReporte::Desvio::Ninguno);
    const AlSalir restaura([] { Reporteador::PonFabricaDeImpresora({}); });
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    dialogos.responde(true);
    QTest::mouseClick(Control<QPushButton>(ventana, "Command1"), Qt::LeftButton);
    const QString aviso = dialogos.cajas().last().texto;
    EXPECT_TRUE(aviso.contains(QStringLiteral("Impresas 0, en la cola 0, con error 1, de 3 "
                                              "remisiones.")))
        << qPrintable(aviso);
    EXPECT_TRUE(aviso.contains(QStringLiteral("La impresora no tomó el documento")))
        << qPrintable(aviso);
    EXPECT_NE(aviso, QStringLiteral("Remisiones impresas"));
}

// A real CUPS queue named in Orvane.ini: a queue that rejects jobs (cupsreject) stops the
// command-line run at its first note with a failure that names the queue and what CUPS said;
// a stopped queue (cupsdisable) takes the notes, which wait in it: not printed, so the command
// fails and says why they wait.
TEST_F(ImpresionDeTrabajos, UnaColaDeCupsQueRechazaLosTrabajosEsUnaFalla) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Remisiones")));
    ArchivoIni(QDir(carpeta.ruta(QStringLiteral("host"))).filePath(QStringLiteral("Orvane.ini")))
        .escribe(QStringLiteral("Impresión de formatos"), QStringLiteral("fmtremision.rpt"),
                 QStringLiteral("Remisiones"));
    const auto ultimaDeLaBitacora = [] {
        return Windows1252::decodifica(CarpetaDePrueba::lee(Bitacora::Archivo()))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
            .last()
            .split(QLatin1Char('\t'))
            .last();
    };

    const Salida impresa = corre(porcentaje({QStringLiteral("--imprimir")}));
    EXPECT_EQ(impresa.codigo, 0) << qPrintable(impresa.errores);
    EXPECT_TRUE(impresa.salida.endsWith(QStringLiteral("Remisiones impresas: 3\n")));
    EXPECT_EQ(cups.Trabajos(QStringLiteral("Remisiones")), 3);

    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsreject"), {QStringLiteral("Remisiones")}));
    const Salida rechazada = corre(porcentaje({QStringLiteral("--imprimir")}));
    EXPECT_EQ(rechazada.codigo, 1);
    EXPECT_FALSE(rechazada.salida.contains(QStringLiteral("Remisiones impresas")));
    for (const QString& parte : {QStringLiteral("Impresas 0, en la cola 0, con error 1, de 3"),
                                 QStringLiteral("La cola «Remisiones» de CUPS no tomó"),
                                 QStringLiteral("server-error-not-accepting-jobs")}) {
        EXPECT_TRUE(rechazada.errores.contains(parte)) << qPrintable(rechazada.errores);
    }
    EXPECT_TRUE(ultimaDeLaBitacora().startsWith(QStringLiteral(
        "impresas 0 de 3, en la cola 0, con error 1; detenida en A 501: Error no. 20599: La cola "
        "«Remisiones»")))
        << qPrintable(ultimaDeLaBitacora());

    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsaccept"), {QStringLiteral("Remisiones")}));
    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsdisable"), {QStringLiteral("Remisiones")}));
    const Salida enEspera = corre(porcentaje({QStringLiteral("--imprimir")}));
    EXPECT_EQ(enEspera.codigo, 1) << qPrintable(enEspera.errores);
    EXPECT_TRUE(enEspera.errores.contains(QStringLiteral(
        "en la cola 3 (la impresora «Remisiones» está detenida; para que siga: sudo cupsenable "
        "Remisiones)")))
        << qPrintable(enEspera.errores);
    EXPECT_EQ(cups.Trabajos(QStringLiteral("Remisiones")), 6);
    EXPECT_EQ(ultimaDeLaBitacora(), QStringLiteral("impresas 0 de 3, en la cola 3, con error 0"));
}

// PDF files on a disk that fills up during the run: the one that fits is whole and counted, the
// one that does not is gone, and the run says where and why it stopped.
TEST_F(ImpresionDeTrabajos, EnUnDiscoQueSeLlenaSoloCuentanLosPdfEnteros) {
    DiscoPequeno disco(2048);
    if (!disco.Montado()) {
        GTEST_SKIP() << qPrintable(disco.PorQueNo());
    }
    const QString pdf = disco.ruta(QStringLiteral("pdf"));
    ASSERT_EQ(
        corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf})).codigo, 0);
    const QFileInfoList impresos = QDir(pdf).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files);
    ASSERT_EQ(impresos.size(), 3);
    qint64 primero = impresos[0].size();
    for (const QFileInfo& impreso : impresos) {
        QFile::remove(impreso.filePath());
    }
    // Room for the first PDF and half the second.
    disco.Llena(primero + primero / 2 + 4096);
    const Salida llena =
        corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf}));
    EXPECT_EQ(llena.codigo, 1) << qPrintable(llena.errores);
    EXPECT_TRUE(llena.errores.contains(QStringLiteral("Se imprimió 1 de 3 remisiones.")))
        << qPrintable(llena.errores);
    EXPECT_TRUE(llena.errores.contains(QStringLiteral("No hay espacio en el disco para escribir")))
        << qPrintable(llena.errores);
    EXPECT_FALSE(llena.salida.contains(QStringLiteral("Remisiones impresas")));
    const QStringList quedan = QDir(pdf).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(quedan.size(), 1) << qPrintable(quedan.join(QLatin1Char(' ')));
    EXPECT_TRUE(quedan[0].endsWith(QStringLiteral(".pdf")));
    EXPECT_TRUE(PaginasDePdf(QDir(pdf).filePath(quedan[0]))
                    .join(QString())
                    .contains(QStringLiteral("501")));
}

// The program folder on a full disk: each command that has a file to write there stops with
// the file and the cause, exit 1, and every file of the folder stays byte for byte.
struct OrdenEnDiscoLleno {
    const char* caso;
    QStringList argumentos; // {pdf} stands for a folder of PDF files off the small disk
    const char* archivo;    // the file named in the error
    qint64 dejar = 0;       // bytes left free on the disk
};

class CarpetaLlena : public ImpresionDeTrabajos,
                     public ::testing::WithParamInterface<OrdenEnDiscoLleno> {
protected:
    // The files of the folder by name, with their bytes.
    static QMap<QString, QByteArray> Contenido(const QString& carpeta) {
        QMap<QString, QByteArray> archivos;
        for (const QString& nombre : QDir(carpeta).entryList(QDir::Files | QDir::Hidden)) {
            archivos.insert(nombre, CarpetaDePrueba::lee(QDir(carpeta).filePath(nombre)));
        }
        return archivos;
    }
};

TEST_P(CarpetaLlena, LaOrdenFallaYNingunArchivoSePierde) {
    DiscoPequeno disco(1024);
    if (!disco.Montado()) {
        GTEST_SKIP() << qPrintable(disco.PorQueNo());
    }
    const QString programa = disco.ruta(QStringLiteral("programa"));
    QDir().mkpath(programa);
    for (const QString& nombre : QDir(carpeta.programa()).entryList(QDir::Files)) {
        QFile::copy(QDir(carpeta.programa()).filePath(nombre), QDir(programa).filePath(nombre));
    }
    CarpetaDePrueba::escribe(QDir(programa).filePath(QStringLiteral("ListaRemisiones.txt")),
                             "Del 7 al 8\r\n");
    const QByteArray antes = qgetenv("DEREMISIONES_CARPETA");
    qputenv("DEREMISIONES_CARPETA", programa.toUtf8());
    const AlSalir restaura([&antes] { qputenv("DEREMISIONES_CARPETA", antes); });
    const QMap<QString, QByteArray> contenido = Contenido(programa);
    disco.Llena(GetParam().dejar);
    QStringList argumentos = GetParam().argumentos;
    argumentos.replaceInStrings(QStringLiteral("{pdf}"), carpeta.ruta(QStringLiteral("pdf")));
    const Salida salida = corre(argumentos);
    EXPECT_EQ(salida.codigo, 1) << qPrintable(salida.errores);
    EXPECT_TRUE(
        salida.errores.contains(QStringLiteral("No hay espacio en el disco para escribir ") +
                                QString::fromLatin1(GetParam().archivo)))
        << qPrintable(salida.errores);
    // The cause leads, in the program's own words, not behind a generic text.
    EXPECT_TRUE(salida.errores.contains(
        QStringLiteral("No hay espacio en el disco para escribir el archivo")))
        << qPrintable(salida.errores);
    EXPECT_FALSE(salida.errores.contains(QStringLiteral("revise que la carpeta exista")))
        << qPrintable(salida.errores);
    QMap<QString, QByteArray> esperado = contenido;
    QMap<QString, QByteArray> despues = Contenido(programa);
    // With room left, the trail takes its line and the print ledger its record.
    if (GetParam().dejar > 0) {
        esperado.remove(QStringLiteral("Bitacora.txt"));
        despues.remove(QStringLiteral("Bitacora.txt"));
        for (const QString& libro : despues.keys().filter(QStringLiteral("Impresiones.sqlite"))) {
            despues.remove(libro);
        }
    }
    EXPECT_EQ(despues, esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Ordenes, CarpetaLlena,
    ::testing::Values(
        // The invoice writes the archive database's default into DeRemisiones.ini.
        OrdenEnDiscoLleno{"Factura",
                          {QStringLiteral("factura"), QStringLiteral("--desde"),
                           QStringLiteral("02/11/2026"), QStringLiteral("--hasta"),
                           QStringLiteral("03/11/2026"), QStringLiteral("--porcentaje"),
                           QStringLiteral("10"), QStringLiteral("--serie-factura"),
                           QStringLiteral("B"), QStringLiteral("--cliente"), QStringLiteral("C1")},
                          "DeRemisiones.ini"},
        OrdenEnDiscoLleno{"Tope",
                          {QStringLiteral("tope"), QStringLiteral("--desde"),
                           QStringLiteral("02/11/2026"), QStringLiteral("--hasta"),
                           QStringLiteral("03/11/2026"), QStringLiteral("--tope"),
                           QStringLiteral("100000"), QStringLiteral("--folio"),
                           QStringLiteral("1500"), QStringLiteral("--serie"), QStringLiteral("A")},
                          "ListaRemisiones.txt"},
        OrdenEnDiscoLleno{
            "Imprimir",
            {QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("501"),
             QStringLiteral("--final"), QStringLiteral("503"), QStringLiteral("--porcentaje"),
             QStringLiteral("15"), QStringLiteral("--serie"), QStringLiteral("A"),
             QStringLiteral("--imprimir"), QStringLiteral("--pdf"), QStringLiteral("{pdf}")},
            "Impresiones.sqlite"},
        OrdenEnDiscoLleno{
            "ImprimirConPocoEspacio",
            {QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("501"),
             QStringLiteral("--final"), QStringLiteral("503"), QStringLiteral("--porcentaje"),
             QStringLiteral("15"), QStringLiteral("--serie"), QStringLiteral("A"),
             QStringLiteral("--imprimir"), QStringLiteral("--pdf"), QStringLiteral("{pdf}")},
            // The print ledger is the first file a print writes: nothing prints without it.
            "Impresiones.sqlite",
            20 * 1024}),
    [](const auto& info) { return std::string(info.param.caso); });

// Without its data sources the engine cannot read the store: the scheduled run says at which
// note, with which template and why it stopped, exits non-zero and leaves no scratch file.
// A stored template that is damaged or names a field the store lacks stops the scheduled run
// before its first note: exit 1, the template's problem, no PDF.
TEST_F(ImpresionDeTrabajos, UnaPlantillaDanadaLaOrdenNoImprimeNada) {
    const QString fuente = TextoDePlantilla("fmtRemision.rpt.fuente");
    const QByteArray sana = ArchivoDePlantilla::Construye(fuente);
    const struct {
        const char* caso;
        QByteArray guardada;
        const char* dice;
    } casos[] = {
        {"cortada", sana.left(sana.size() / 2), "La plantilla está dañada: su texto está cortado"},
        {"campo que no existe",
         ArchivoDePlantilla::Construye(
             QString(fuente).replace(QStringLiteral("\"{remisiones.Subtotal}\""),
                                     QStringLiteral("\"{remisiones.SubtotalQueNoExiste}\""))),
         "el campo SubtotalQueNoExiste no existe en la tabla remisiones"},
    };
    for (const auto& c : casos) {
        CamposBin campos;
        campos.BaseDD = &base.conexion();
        campos.GuardaRPT(ImpresionDeRemisiones::Plantilla(), c.guardada);
        const QString pdf = carpeta.ruta(QStringLiteral("consola"));
        const Salida r =
            corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf}));
        EXPECT_EQ(r.codigo, 1) << c.caso;
        EXPECT_TRUE(r.errores.contains(QStringLiteral("La impresión no pudo comenzar")))
            << qPrintable(r.errores);
        EXPECT_TRUE(r.errores.contains(QString::fromUtf8(c.dice))) << qPrintable(r.errores);
        EXPECT_TRUE(QDir(pdf).entryList({QStringLiteral("*.pdf")}).isEmpty()) << c.caso;
    }
}

// A stored logo cut short stops the scheduled run before its first note naming the image; the
// image library's own complaint never reaches standard error.
TEST_F(ImpresionDeTrabajos, UnLogoCortadoLaOrdenLoNombraSinMensajesDeQt) {
    GuardaLogo(base);
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    const QString sanos = carpeta.ruta(QStringLiteral("sanos"));
    QDir().mkpath(sanos);
    campos.ExtraeRPT(QStringLiteral("logo.png"), sanos);
    const QByteArray png = CarpetaDePrueba::lee(QDir(sanos).filePath(QStringLiteral("logo.png")));
    campos.GuardaRPT(QStringLiteral("logo.png"), png.left(png.size() / 2));
    const QString pdf = carpeta.ruta(QStringLiteral("consola"));
    const Salida r =
        corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf}));
    EXPECT_EQ(r.codigo, 1) << qPrintable(r.errores);
    EXPECT_TRUE(r.errores.contains(
        QStringLiteral("La imagen logo.png guardada en reportesbin está dañada")))
        << qPrintable(r.errores);
    EXPECT_FALSE(r.errores.contains(QStringLiteral("libpng"))) << qPrintable(r.errores);
    EXPECT_TRUE(QDir(pdf).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

// The invoice needs a second connection; a user at its connection limit is told so, with the
// server's number, not an unnumbered error.
TEST_F(ImpresionDeTrabajos, LaFacturaDiceQueElServidorNoAceptaMasConexiones) {
    const QString usuario = QStringLiteral("limite_%1").arg(QCoreApplication::applicationPid());
    base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario));
    base.ejecuta(QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY '' WITH "
                                "MAX_USER_CONNECTIONS 1")
                     .arg(usuario));
    base.ejecuta(QStringLiteral("GRANT ALL PRIVILEGES ON *.* TO '%1'@'%'").arg(usuario));
    ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
        .escribe(carpeta.ruta(QStringLiteral("host")), QStringLiteral("MySQLUsuario"),
                 Utilerias::Encripta(usuario));
    const Salida r = corre(
        {QStringLiteral("factura"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("03/11/2026"), QStringLiteral("--porcentaje"),
         QStringLiteral("10"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
         QStringLiteral("--cliente"), QStringLiteral("C1")});
    base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario));
    EXPECT_EQ(r.codigo, 1) << qPrintable(r.errores);
    EXPECT_TRUE(r.errores.startsWith(
        QStringLiteral("El usuario de la conexión llegó a su propio límite de conexiones")))
        << qPrintable(r.errores);
    EXPECT_TRUE(r.errores.contains(QStringLiteral("Error no. 1226"))) << qPrintable(r.errores);
}

// A server left read-only (a replica, a server being moved) refuses the job's first write: the
// message says so first, with what to do, and the server's text only after it.
TEST_F(ImpresionDeTrabajos, UnServidorDeSoloLecturaLoDice) {
    const QString usuario = QStringLiteral("lectura_%1").arg(QCoreApplication::applicationPid());
    base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario));
    base.ejecuta(QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY ''").arg(usuario));
    base.ejecuta(
        QStringLiteral("GRANT ALL PRIVILEGES ON `%1`.* TO '%2'@'%'").arg(base.nombre(), usuario));
    ArchivoIni(DelRegistro::ArchivoDeInstalaciones())
        .escribe(carpeta.ruta(QStringLiteral("host")), QStringLiteral("MySQLUsuario"),
                 Utilerias::Encripta(usuario));
    base.ejecuta(QStringLiteral("SET GLOBAL read_only=1"));
    Salida r;
    {
        const AlSalir escribible(
            [this] { base.ejecuta(QStringLiteral("SET GLOBAL read_only=0")); });
        r = corre({QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
                   QStringLiteral("--hasta"), QStringLiteral("03/11/2026"),
                   QStringLiteral("--tope"), QStringLiteral("100000"), QStringLiteral("--folio"),
                   QStringLiteral("1500"), QStringLiteral("--serie"), QStringLiteral("A")});
    }
    base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario));
    EXPECT_EQ(r.codigo, 1) << qPrintable(r.errores);
    EXPECT_TRUE(r.errores.startsWith(QStringLiteral("El servidor «")) &&
                r.errores.contains(QStringLiteral("está en modo de sólo lectura")))
        << qPrintable(r.errores);
    EXPECT_TRUE(r.errores.contains(QStringLiteral("Error no. 1290"))) << qPrintable(r.errores);
}

// Without its data sources the engine cannot read the store: the scheduled run says before its
// first note, with which template and why it cannot print, exits non-zero and leaves no scratch
// file.
TEST_F(ImpresionDeTrabajos, SinOrigenesDeDatosLaOrdenFallaYLoDice) {
    CarpetaDePrueba::escribe(carpeta.archivoOdbc(), QByteArray());
    const QString pdf = carpeta.ruta(QStringLiteral("consola"));
    const Salida fallida =
        corre(porcentaje({QStringLiteral("--imprimir"), QStringLiteral("--pdf"), pdf}));
    const QString& errores = fallida.errores;
    EXPECT_EQ(fallida.codigo, 1) << qPrintable(errores);
    // Where it stopped, then what the error means and what to do, then the driver's text.
    EXPECT_TRUE(errores.contains(
        QStringLiteral("La impresión no pudo comenzar (plantilla fmtRemision.rpt).\n"
                       "Se imprimieron 0 de 3 remisiones.\n\n")))
        << qPrintable(errores);
    EXPECT_FALSE(fallida.salida.contains(QStringLiteral("Remisiones impresas")));
    EXPECT_TRUE(QDir(pdf).entryList({QStringLiteral("*.pdf")}).isEmpty());
    EXPECT_TRUE(QDir(carpeta.ruta(QStringLiteral("programa/Temporal")))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty());
    EXPECT_TRUE(CarpetaDePrueba::lee(Bitacora::Archivo())
                    .contains("\tporcentaje imprimir (consola)\tremisiones 501 a 503, serie 'A', "
                              "porcentaje 15; pdf "));
}

} // namespace
