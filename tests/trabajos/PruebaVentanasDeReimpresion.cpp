#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/AlSalir.h"
#include "orvlib/BasesDD.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QDate kDia1(2026, 11, 2);
const QDate kDia2(2026, 11, 3);

// The two reprint windows on a store with series and notes on two days, folios 501 to 503.
class VentanasDeReimpresion : public TiendaConSeries {
protected:
    void SetUp() override {
        TiendaConSeries::SetUp();
        AgregaNotas(base, {{1, kDia1, 100, 16, 0, QStringLiteral("A"), 501},
                           {2, kDia1, 100, 16, 0, QStringLiteral("A"), 502},
                           {3, kDia2, 300, 48, 0, QStringLiteral("A"), 503}});
    }

    void escribe(QWidget& ventana, const char* caja, const QString& texto) {
        Control<QLineEdit>(ventana, caja)->setText(texto);
    }
    void pulsa(QWidget& ventana, const char* boton) {
        QTest::mouseClick(Control<QPushButton>(ventana, boton), Qt::LeftButton);
    }
    bool habilitado(QWidget& ventana, const char* boton) {
        return Control<QPushButton>(ventana, boton)->isEnabled();
    }

    void aplicaTope(frmRemisTyP& ventana, const QString& desde = QStringLiteral("02/11/2026")) {
        escribe(ventana, "mkeFecha_0", desde);
        escribe(ventana, "mkeFecha_1", QStringLiteral("03/11/2026"));
        escribe(ventana, "txtDato_4", QStringLiteral("A"));
        escribe(ventana, "txtDato_2", QStringLiteral("1000"));
        escribe(ventana, "txtDato_3", QStringLiteral("1500"));
        pulsa(ventana, "cmdAplicar");
    }

    // The connection that holds the reprint lock of the test database.
    QString duenoDelCandado() {
        return base
            .valor(QStringLiteral("SELECT IS_USED_LOCK('%1')")
                       .arg(CandadoDeReimpresion::Nombre(base.nombre())))
            .toString();
    }

    // Ends the window's connection from another one, as a server restart or a network cut
    // would, and waits until the server has let its lock go.
    void cortaLaConexion() {
        const QString dueno = duenoDelCandado();
        ASSERT_FALSE(dueno.isEmpty());
        base.ejecuta(QStringLiteral("KILL ") + dueno);
        ASSERT_TRUE(EsperaHasta([&] { return duenoDelCandado() != dueno; }));
    }

    int lineasDeLaBitacora(const QString& trabajo) {
        QFile archivo(Bitacora::Archivo());
        if (!archivo.open(QIODevice::ReadOnly)) {
            return 0;
        }
        return QString::fromLatin1(archivo.readAll())
            .count(QLatin1Char('\t') + trabajo + QLatin1Char('\t'));
    }
};

TEST_F(VentanasDeReimpresion, CambiarUnDatoDespuesDeAplicarDeshabilitaImprimirYLaListaGlobal) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    ASSERT_TRUE(habilitado(ventana, "Command1"));
    // Reformatting a value, or typing the same value, keeps the grid good.
    escribe(ventana, "txtDato_2", QStringLiteral("1,000.00"));
    escribe(ventana, "mkeFecha_0", QStringLiteral("02/11/2026"));
    EXPECT_TRUE(habilitado(ventana, "Command1"));

    const struct {
        const char* caja;
        const char* texto;
    } cambios[] = {{"mkeFecha_0", "01/11/2026"},
                   {"mkeFecha_1", "04/11/2026"},
                   {"txtDato_4", "B"},
                   {"txtDato_2", "999"},
                   {"txtDato_3", "1600"}};
    for (const auto& c : cambios) {
        aplicaTope(ventana);
        ASSERT_TRUE(habilitado(ventana, "Command1")) << c.caja;
        escribe(ventana, c.caja, QString::fromLatin1(c.texto));
        EXPECT_FALSE(habilitado(ventana, "Command1")) << c.caja;
        EXPECT_FALSE(habilitado(ventana, "Command2")) << c.caja;
        EXPECT_FALSE(habilitado(ventana, "cmdExportar")) << c.caja;
        EXPECT_TRUE(habilitado(ventana, "Command4")) << c.caja;
    }
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(VentanasDeReimpresion, UnPeriodoSinRemisionesLoDiceYNoDejaImprimirNiLista) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    const QString lista = carpeta.ruta(QStringLiteral("programa/ListaRemisiones.txt"));
    ASSERT_TRUE(QFile::exists(lista));
    escribe(ventana, "txtDato_4", QStringLiteral("Z"));
    pulsa(ventana, "cmdAplicar");
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].texto, QStringLiteral("No hay remisiones con esos datos"));
    EXPECT_EQ(Control<QTableWidget>(ventana, "mfgReja")->rowCount(), 0);
    EXPECT_FALSE(habilitado(ventana, "Command1"));
    EXPECT_FALSE(habilitado(ventana, "Command2"));
    EXPECT_FALSE(habilitado(ventana, "cmdExportar"));
    EXPECT_FALSE(QFile::exists(lista));
}

// While a run goes on, keys and clicks reach nothing but Cancelar; what came meanwhile is
// dropped, not replayed when the run ends.
TEST_F(VentanasDeReimpresion, MientrasTrabajaSoloCancelarActua) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    auto* fecha = Control<QLineEdit>(ventana, "mkeFecha_0");
    auto* aplicar = Control<QPushButton>(ventana, "cmdAplicar");
    auto* cancelar = Control<QPushButton>(ventana, "Command3");
    cancelar->setEnabled(true);
    const int aplicadas = lineasDeLaBitacora(QStringLiteral("tope aplicar"));
    ventana.Trabaja(
        [&] {
            for (const char* nombre :
                 {"mkeFecha_0", "mkeFecha_1", "txtDato_2", "txtDato_3", "txtDato_4"}) {
                EXPECT_FALSE(Control<QLineEdit>(ventana, nombre)->isEnabled()) << nombre;
            }
            for (const char* nombre : {"cmdAplicar", "Command1", "Command2", "Command4"}) {
                EXPECT_FALSE(habilitado(ventana, nombre)) << nombre;
            }
            EXPECT_TRUE(cancelar->isEnabled());
            QTest::keyClicks(fecha, QStringLiteral("1"));
            QTest::keyClick(fecha, Qt::Key_Delete);
            for (int i = 0; i < 2; ++i) {
                const QPoint centro = aplicar->rect().center();
                QCoreApplication::postEvent(
                    aplicar,
                    new QMouseEvent(QEvent::MouseButtonPress, centro, aplicar->mapToGlobal(centro),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    aplicar, new QMouseEvent(QEvent::MouseButtonRelease, centro,
                                             aplicar->mapToGlobal(centro), Qt::LeftButton,
                                             Qt::NoButton, Qt::NoModifier));
            }
        },
        cancelar);
    QCoreApplication::processEvents();
    EXPECT_EQ(fecha->text(), QStringLiteral("02/11/2026"));
    EXPECT_TRUE(fecha->isEnabled());
    EXPECT_TRUE(habilitado(ventana, "Command1"));
    EXPECT_EQ(lineasDeLaBitacora(QStringLiteral("tope aplicar")), aplicadas);
}

struct CajaRechazada {
    const char* caja;
    const char* texto;
    const char* dice;
};

class FechasYFoliosDelTope : public VentanasDeReimpresion,
                             public ::testing::WithParamInterface<CajaRechazada> {};

// A date that does not exist or a folio that does not fit is refused where it was typed, on the
// window's warning line.
TEST_P(FechasYFoliosDelTope, SeRechazanConUnAvisoYElFocoSeQueda) {
    const CajaRechazada& c = GetParam();
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* caja = Control<QLineEdit>(ventana, c.caja);
    caja->setFocus();
    ASSERT_TRUE(EsperaHasta([caja] { return caja->hasFocus(); }));
    caja->setText(QString::fromLatin1(c.texto));
    QTest::keyClick(caja, Qt::Key_Tab);
    EXPECT_TRUE(EsperaHasta([caja] { return caja->hasFocus(); }));
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(caja->text(), QString::fromLatin1(c.texto));
    const QString aviso = Control<QLabel>(ventana, "lblAviso")->text();
    EXPECT_TRUE(aviso.contains(QString::fromUtf8(c.dice))) << qPrintable(aviso);
}

INSTANTIATE_TEST_SUITE_P(
    Tope, FechasYFoliosDelTope,
    ::testing::Values(CajaRechazada{"mkeFecha_0", "31/02/2026", "31/02/2026"},
                      CajaRechazada{"mkeFecha_1", "12/13/2026", "no es válida"},
                      CajaRechazada{"txtDato_3", "99999999999", "2,147,483,647"}));

TEST_F(VentanasDeReimpresion, ElFolioMayorCabeEnSuCaja) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* folio = Control<QLineEdit>(ventana, "txtDato_3");
    folio->setText(QStringLiteral("2,147,483,647"));
    EXPECT_EQ(folio->text(), QStringLiteral("2,147,483,647"));
    EXPECT_GE(folio->contentsRect().width() - 8,
              folio->fontMetrics().horizontalAdvance(folio->text()));
}

// The server goes away under the window: it says so in Spanish, the grid and the print button
// go, and the next action connects again and takes the lock again.
TEST_F(VentanasDeReimpresion, ElTopeSobreviveALaPerdidaDelServidor) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    auto* reja = Control<QTableWidget>(ventana, "mfgReja");
    ASSERT_GT(reja->rowCount(), 0);
    const QString primera = duenoDelCandado();

    cortaLaConexion();
    pulsa(ventana, "Command1");
    ASSERT_EQ(dialogos.cajas().size(), 1);
    const auto& aviso = dialogos.cajas()[0];
    EXPECT_EQ(aviso.titulo, QStringLiteral("Alerta"));
    EXPECT_TRUE(aviso.texto.startsWith(QStringLiteral("Se perdió la conexión con el servidor")))
        << qPrintable(aviso.texto);
    EXPECT_TRUE(aviso.texto.contains(QStringLiteral("revise la red o el servidor y vuelva a "
                                                    "intentar")));
    EXPECT_TRUE(aviso.detalle.startsWith(QStringLiteral("Error no. 20")))
        << qPrintable(aviso.detalle);
    EXPECT_EQ(reja->rowCount(), 0);
    EXPECT_FALSE(habilitado(ventana, "Command1"));
    EXPECT_TRUE(habilitado(ventana, "cmdAplicar"));

    // Another workstation took the lock meanwhile: the window says so and stays without it.
    base.ejecuta(QStringLiteral("SELECT GET_LOCK('%1', 0)")
                     .arg(CandadoDeReimpresion::Nombre(base.nombre())));
    pulsa(ventana, "cmdAplicar");
    ASSERT_EQ(dialogos.cajas().size(), 2);
    EXPECT_TRUE(dialogos.cajas()[1].texto.startsWith(
        QStringLiteral("La base de datos '") + base.nombre() + QStringLiteral("' está reservada")))
        << qPrintable(dialogos.cajas()[1].texto);
    EXPECT_EQ(reja->rowCount(), 0);
    base.ejecuta(QStringLiteral("SELECT RELEASE_LOCK('%1')")
                     .arg(CandadoDeReimpresion::Nombre(base.nombre())));

    pulsa(ventana, "cmdAplicar");
    EXPECT_EQ(dialogos.cajas().size(), 2);
    EXPECT_EQ(reja->rowCount(), 4);
    EXPECT_TRUE(habilitado(ventana, "Command1"));
    EXPECT_FALSE(duenoDelCandado().isEmpty());
    EXPECT_NE(duenoDelCandado(), primera);

    // Closing after a loss says nothing.
    cortaLaConexion();
    ventana.close();
    EXPECT_EQ(dialogos.cajas().size(), 2);
}

TEST_F(VentanasDeReimpresion, ElPorcentajeSobreviveALaPerdidaDelServidor) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "501", "503", "A", "15");
    pulsa(ventana, "Command2");
    ASSERT_TRUE(habilitado(ventana, "Command1"));

    cortaLaConexion();
    pulsa(ventana, "Command2");
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_TRUE(dialogos.cajas()[0].texto.startsWith(QStringLiteral("Se perdió la conexión")));
    EXPECT_TRUE(Control<QLabel>(ventana, "Label7")->text().isEmpty());
    EXPECT_FALSE(habilitado(ventana, "Command1"));

    pulsa(ventana, "Command2");
    EXPECT_EQ(dialogos.cajas().size(), 1);
    EXPECT_TRUE(habilitado(ventana, "Command1"));
    EXPECT_TRUE(Control<QLabel>(ventana, "Label7")->text().startsWith(QStringLiteral("Subtotal")));
}

TEST_F(VentanasDeReimpresion, ElPorcentajeExigeComprobarDeNuevoYDiceCuandoNoHayNada) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "501", "502", "A", "15");
    pulsa(ventana, "Command2");
    ASSERT_TRUE(habilitado(ventana, "Command1"));
    for (const char* caja : {"txtDato_0", "txtDato_1", "txtDato_2", "txtDato_4"}) {
        pulsa(ventana, "Command2");
        ASSERT_TRUE(habilitado(ventana, "Command1")) << caja;
        escribe(ventana, caja, QStringLiteral("503"));
        EXPECT_FALSE(habilitado(ventana, "Command1")) << caja;
        EXPECT_FALSE(habilitado(ventana, "cmdExportar")) << caja;
        LlenaPorcentaje(ventana, "501", "502", "A", "15");
    }
    ASSERT_TRUE(dialogos.cajas().isEmpty());

    escribe(ventana, "txtDato_0", QStringLiteral("900"));
    escribe(ventana, "txtDato_1", QStringLiteral("910"));
    pulsa(ventana, "Command2");
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].texto, QStringLiteral("No hay remisiones con esos datos"));
    EXPECT_FALSE(habilitado(ventana, "Command1"));
    EXPECT_FALSE(habilitado(ventana, "cmdExportar"));
    EXPECT_TRUE(Control<QLabel>(ventana, "Label7")->text().isEmpty());

    // 0 is taken by the field and refused by "&Comprobar"; a negative one is the field's own
    // refusal, on the window's warning line.
    escribe(ventana, "txtDato_2", QStringLiteral("0"));
    pulsa(ventana, "Command2");
    EXPECT_TRUE(dialogos.cajas().last().texto.contains(
        QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100.")));
    escribe(ventana, "txtDato_2", QStringLiteral("-5"));
    pulsa(ventana, "Command2");
    EXPECT_EQ(dialogos.cajas().size(), 2);
    EXPECT_EQ(Control<QLabel>(ventana, "lblAviso")->text(),
              QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100."));
    EXPECT_TRUE(Control<QLineEdit>(ventana, "txtDato_2")->hasFocus());
}

struct OrdenSinNada {
    QStringList argumentos;
    int codigo;
    const char* salida;  // part of the standard output
    const char* errores; // part of the standard error
};

class OrdenesSinNada : public VentanasDeReimpresion,
                       public ::testing::WithParamInterface<OrdenSinNada> {};

TEST_P(OrdenesSinNada, DicenQueNoHayNadaYNoImprimen) {
    const OrdenSinNada& o = GetParam();
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), o.argumentos);
    ASSERT_TRUE(programa.waitForFinished(30000));
    const QString salida = QString::fromUtf8(programa.readAllStandardOutput());
    const QString errores = QString::fromUtf8(programa.readAllStandardError());
    EXPECT_EQ(programa.exitCode(), o.codigo) << qPrintable(errores);
    EXPECT_TRUE(salida.contains(QString::fromUtf8(o.salida))) << qPrintable(salida);
    EXPECT_TRUE(errores.contains(QString::fromUtf8(o.errores))) << qPrintable(errores);
    EXPECT_FALSE((salida + errores).contains(QStringLiteral("impres")));
}

INSTANTIATE_TEST_SUITE_P(
    Consola, OrdenesSinNada,
    ::testing::Values(OrdenSinNada{{"tope", "--desde", "01/01/2020", "--hasta", "02/01/2020",
                                    "--tope", "100", "--folio", "1", "--serie", "A", "--imprimir"},
                                   0,
                                   "No hay remisiones con esos datos",
                                   ""},
                      OrdenSinNada{{"porcentaje", "--inicial", "900", "--final", "910",
                                    "--porcentaje", "10", "--serie", "A", "--imprimir"},
                                   0,
                                   "No hay remisiones con esos datos",
                                   ""},
                      OrdenSinNada{{"porcentaje", "--inicial", "501", "--final", "503",
                                    "--porcentaje", "10", "--serie", "A", "--pdf", "/tmp"},
                                   2,
                                   "",
                                   "--pdf requiere --imprimir"},
                      OrdenSinNada{{"tope", "--desde", "02/11/2026", "--hasta", "03/11/2026",
                                    "--tope", "100", "--folio", "1", "--pdf", "/tmp"},
                                   2,
                                   "",
                                   "--pdf requiere --imprimir"}));

} // namespace

namespace {

// The percentage window says how many notes it found, keeps the run's summary on paper, and
// the next window opens with the last inputs; so does the cap window.
TEST_F(VentanasDeReimpresion, CadaVentanaDiceLoQueHalloYRecuerdaSusDatos) {
    {
        frmRemisPorcen ventana;
        ASSERT_TRUE(ActivaVentana(&ventana));
        LlenaPorcentaje(ventana, "501", "503", "A", "15");
        EXPECT_FALSE(habilitado(ventana, "cmdResumen"));
        pulsa(ventana, "Command2");
        EXPECT_EQ(Control<QLabel>(ventana, "lblEncontradas")->text(),
                  QStringLiteral("Remisiones encontradas: 3"));
        pulsa(ventana, "cmdResumen");
        ASSERT_EQ(dialogos.cajas().size(), 1);
        const QString texto =
            PaginasDePdf(dialogos.cajas()[0].texto.section(QStringLiteral("guardado en "), 1))
                .join(QLatin1Char('\n'))
                .simplified();
        for (const char* esperado : {"Remisiones encontradas: 3", "A 503 03/nov/2026 348.00 295.80",
                                     "Totales: 580.00 493.00"}) {
            EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n"
                                                                     << qPrintable(texto);
        }
    }
    frmRemisPorcen otra;
    ASSERT_TRUE(ActivaVentana(&otra));
    EXPECT_EQ(Control<QLineEdit>(otra, "txtDato_0")->text(), QStringLiteral("501"));
    EXPECT_EQ(Control<QLineEdit>(otra, "txtDato_1")->text(), QStringLiteral("503"));
    EXPECT_EQ(Control<QLineEdit>(otra, "txtDato_2")->text(), QStringLiteral("15.00"));
    otra.close();
    {
        frmRemisTyP tope;
        ASSERT_TRUE(ActivaVentana(&tope));
        aplicaTope(tope);
    }
    frmRemisTyP tope;
    ASSERT_TRUE(ActivaVentana(&tope));
    EXPECT_EQ(Control<QLineEdit>(tope, "txtDato_2")->text(), QStringLiteral("1,000.00"));
    EXPECT_EQ(Control<QLineEdit>(tope, "txtDato_3")->text(), QStringLiteral("1,500"));
}

} // namespace

// A password the server refuses when a reprint window opens: the window says what happened and
// what to do, with the server's number and text in the details, and closes.
TEST_F(VentanasDeReimpresion, UnaContrasenaRechazadaAlAbrirSeExplica) {
    BasesDD& bases = *Proceso::actual().bases;
    const QString buena = bases.cPassword;
    const AlSalir devuelve([&bases, buena] { bases.cPassword = buena; });
    bases.cPassword = QStringLiteral("no-es-esta");
    for (int i = 0; i < 2; ++i) {
        const qsizetype antes = dialogos.cajas().size();
        const std::unique_ptr<QDialog> ventana(i == 0 ? static_cast<QDialog*>(new frmRemisTyP)
                                                      : new frmRemisPorcen);
        ASSERT_EQ(dialogos.cajas().size(), antes + 1);
        const DialogosGuionados::Caja& aviso = dialogos.cajas().last();
        EXPECT_TRUE(aviso.texto.startsWith(
            QStringLiteral("El servidor no aceptó el usuario o la contraseña")))
            << qPrintable(aviso.texto);
        EXPECT_TRUE(aviso.detalle.contains(QStringLiteral("1045"))) << qPrintable(aviso.detalle);
        ventana->show();
        EXPECT_TRUE(EsperaHasta([&ventana] { return !ventana->isVisible(); }));
    }
}
