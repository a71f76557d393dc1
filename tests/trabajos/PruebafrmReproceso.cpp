#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/LibroLeido.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Menu.h"
#include "arranque/Principal.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "tienda/BaseDeFactura.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "ventanas/frmReproceso.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kSeccion = QStringLiteral("Configuración");

class VentanaDeFactura : public TiendaConResguardo {
protected:
    void SetUp() override {
        TiendaConResguardo::SetUp();
        base.ejecuta(QStringLiteral("INSERT INTO clientes (Clave, Nombre, MetodoDePago) VALUES "
                                    "('CLIENTE', 'PÚBLICO EN GENERAL', '01 - Efectivo'), "
                                    "('C1', 'ANA SOFÍA', 'Transferencia')"));
        base.ejecuta(QStringLiteral(
            "INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123'), ('FA-C', '7')"));
        PartidaDePrueba p1;
        p1.cantidad = 2;
        p1.precio = 100;
        p1.iva = 16;
        AgregaNotas(base, {{1, QDate::currentDate(), 200, 32, 0, QStringLiteral("A"), 0, 0, {p1}}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Cliente='CLIENTE'"));
    }

    void TearDown() override {
        base.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS tmpreprocesarem"));
    }

    void ajuste(const char* clave, const char* valor) {
        ArchivoIni(Proceso::actual().stArchivoIni)
            .escribe(kSeccion, QString::fromUtf8(clave), QString::fromUtf8(valor));
    }
};

TEST_F(VentanaDeFactura, AbreConLosAjustesPorOmisionYBuscaMientrasSeEscribe) {
    frmReproceso ventana;
    ASSERT_TRUE(ventana.Cargada());
    ASSERT_TRUE(ActivaVentana(&ventana));
    const ArchivoIni ini(Proceso::actual().stArchivoIni);
    const struct {
        const char* clave;
        const char* valor;
        const char* caja;
    } ajustes[] = {{"Base de datos de resguardo", "datos2", nullptr},
                   {"Serie de remisiones", "A", "txtDato_2"},
                   {"Serie de facturas", "B", "txtDato_0"},
                   {"Cliente para facturar", "CLIENTE", "txtDato_1"},
                   {"Cliente de remisiones", "CLIENTE", "txtDato_4"}};
    for (const auto& a : ajustes) {
        EXPECT_EQ(ini.lee(kSeccion, QString::fromUtf8(a.clave)), QString::fromLatin1(a.valor))
            << a.clave;
        if (a.caja != nullptr) {
            EXPECT_EQ(Control<QLineEdit>(ventana, a.caja)->text(), QString::fromLatin1(a.valor));
        }
    }
    EXPECT_EQ(Control<QLineEdit>(ventana, "txtDato_3")->text(), QStringLiteral("0.00"));
    EXPECT_EQ(Control<QLineEdit>(ventana, "mkeFecha_2")->text(),
              libKwtm::TextoDeFecha(QDate::currentDate()));
    EXPECT_EQ(
        Control<QLabel>(ventana, "lblMuestra")->text(),
        QStringLiteral(" Servidor: %1\n  Base de datos: %2\n  Base de datos de resguardo: datos2")
            .arg(base.bases().cRuta, base.nombre()));
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());

    auto* folio = Control<QLabel>(ventana, "lblFolio");
    EXPECT_EQ(folio->text(), QStringLiteral("124"));
    Control<QLineEdit>(ventana, "txtDato_0")->setText(QStringLiteral("C"));
    EXPECT_EQ(folio->text(), QStringLiteral("8"));
    Control<QLineEdit>(ventana, "txtDato_0")->setText(QStringLiteral("Z"));
    EXPECT_EQ(folio->text(), QStringLiteral("1"));

    auto* cliente = Control<QLineEdit>(ventana, "txtDato_1");
    auto* nombre = Control<QLabel>(ventana, "lblDato_2");
    EXPECT_EQ(nombre->text(), QStringLiteral("PÚBLICO EN GENERAL"));
    cliente->setText(QStringLiteral("  C1 "));
    EXPECT_EQ(nombre->text(), QStringLiteral("ANA SOFÍA"));
    cliente->clear();
    EXPECT_EQ(nombre->text(), QString());
    Control<QLineEdit>(ventana, "txtDato_4")->setText(QStringLiteral("C1"));
    EXPECT_EQ(Control<QLabel>(ventana, "lblDato_19")->text(), QStringLiteral("ANA SOFÍA"));

    auto* porcentaje = Control<QLineEdit>(ventana, "txtDato_3");
    for (const auto& [escrito, mostrado] : {std::pair{"12.5", "12.50"}, std::pair{"7", "7.00"}}) {
        porcentaje->setFocus();
        ASSERT_TRUE(EsperaHasta([porcentaje] { return porcentaje->hasFocus(); }));
        porcentaje->clear();
        QTest::keyClicks(porcentaje, QString::fromLatin1(escrito));
        QTest::keyClick(porcentaje, Qt::Key_Tab);
        EXPECT_EQ(porcentaje->text(), QString::fromLatin1(mostrado));
    }
}

TEST_F(VentanaDeFactura, AplicarYGenerarLaFactura) {
    ajuste("Base de datos de resguardo", resguardo.toUtf8().constData());
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("0"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    const char* esperados[] = {"200.00", "32.00", "0.00", "232.00",
                               "200.00", "32.00", "0.00", "232.00"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(
            Control<QLabel>(ventana, QStringLiteral("lblResul_%1").arg(i).toLatin1().constData())
                ->text(),
            QString::fromLatin1(esperados[i]));
    }
    auto* generar = Control<QPushButton>(ventana, "cmdGenerar");
    ASSERT_TRUE(generar->isEnabled());
    dialogos.responde(true);
    QTest::mouseClick(generar, Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 2);
    // With MyISAM host tables the question also warns that a failure could not be undone.
    const QString pregunta = dialogos.cajas()[0].texto;
    EXPECT_TRUE(pregunta.startsWith(
        QStringLiteral("Confirme si desea generar la factura con esta información:\r\n\r\n"
                       "Factura:\tB124\r\nCliente:\tCLIENTE - PÚBLICO EN GENERAL\r\nFecha:\t%1\r\n"
                       "Remisiones:\t1\r\nSubtotal:\t200.00\r\nI. V. A.:\t32.00\r\nIEPS:\t0.00\r\n"
                       "Total:\t232.00")
            .arg(libKwtm::TextoDeFecha(QDate::currentDate()))))
        << qPrintable(pregunta);
    EXPECT_EQ(pregunta.contains(QStringLiteral("no admiten transacciones")),
              BaseDePrueba::TablasMyIsamLatin1())
        << qPrintable(pregunta);
    EXPECT_EQ(dialogos.cajas()[0].titulo, QStringLiteral("Generar factura"));
    EXPECT_EQ(dialogos.cajas()[1].texto, QStringLiteral("Factura creada 'B124'"));
    EXPECT_EQ(dialogos.cajas()[1].titulo, QStringLiteral("Aviso"));
    // The label shows the next folio free; the totals of the invoice stay in view.
    EXPECT_EQ(Control<QLabel>(ventana, "lblFolio")->text(), QStringLiteral("125"));
    EXPECT_FALSE(generar->isEnabled());
    EXPECT_EQ(Control<QLabel>(ventana, "lblResul_7")->text(), QStringLiteral("232.00"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT MetodoDePago FROM facturas")).toString(),
              QStringLiteral("01"));

    // The invoice made, its lines and notes still export, under its folio, with the totals the
    // window shows.
    auto* exportar = Control<QPushButton>(ventana, "cmdExportar");
    ASSERT_TRUE(exportar->isEnabled());
    const QString csv = carpeta.ruta(QStringLiteral("factura.csv"));
    dialogos.eligeArchivo(csv);
    QTest::mouseClick(exportar, Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 4);
    EXPECT_TRUE(dialogos.cajas()[2].texto.endsWith(QStringLiteral("factura-B124.xlsx")));
    const QVector<QStringList> lineas = LeeCsv(CarpetaDePrueba::lee(csv));
    ASSERT_FALSE(lineas.isEmpty());
    QStringList factura = lineas.last();
    ASSERT_EQ(factura.size(), 13);
    EXPECT_EQ(factura.takeFirst(), QStringLiteral("Totales de la factura B124:"));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(
            factura[4 + i],
            Control<QLabel>(ventana, QStringLiteral("lblResul_%1").arg(i).toLatin1().constData())
                ->text())
            << i;
    }
    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("5"));
    EXPECT_FALSE(exportar->isEnabled());

    ventana.close();
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW DATABASES LIKE 'tmpreprocesarem'")).isValid());
}

TEST_F(VentanaDeFactura, UnaSegundaVentanaSeRechaza) {
    frmReproceso primera;
    ASSERT_TRUE(primera.Cargada());
    ASSERT_TRUE(ActivaVentana(&primera));
    {
        frmReproceso segunda;
        EXPECT_FALSE(segunda.Cargada());
        ASSERT_EQ(dialogos.cajas().size(), 1);
        EXPECT_TRUE(dialogos.cajas()[0].texto.contains(
            FacturaDeRemisiones::Ocupada(QStringLiteral("la estación "))
                .section(QStringLiteral("la estación "), 0, 0) +
            QStringLiteral("la estación ")))
            << qPrintable(dialogos.cajas()[0].texto);
        EXPECT_TRUE(dialogos.cajas()[0].texto.contains(QStringLiteral(", usuario root.")));
        segunda.close();
    }
    EXPECT_TRUE(base.valor(QStringLiteral("SHOW DATABASES LIKE 'tmpreprocesarem'")).isValid());
    Control<QLineEdit>(primera, "txtDato_3")->setText(QStringLiteral("101"));
    QTest::mouseClick(Control<QPushButton>(primera, "cmdAplicar"), Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(Control<QLabel>(primera, "lblAviso")->text(),
              QStringLiteral("El porcentaje debe ser menor que 100."));
    EXPECT_FALSE(Control<QPushButton>(primera, "cmdGenerar")->isEnabled());
}

// "Aplicar" lets window events run between its steps: a second click, Escape or the close box
// meanwhile are not taken, so two selections never mix and the working database stays.
TEST_F(VentanaDeFactura, MientrasAplicaNoSeVuelveAAplicarNiSeCierra) {
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("0"));
    auto* aplicar = Control<QPushButton>(ventana, "cmdAplicar");
    bool dentro = false;
    bool habilitado = true;
    QTimer::singleShot(0, &ventana, [&] {
        dentro = ventana.Trabajando();
        habilitado = aplicar->isEnabled();
        aplicar->click();
        QTest::keyClick(&ventana, Qt::Key_Escape);
        ventana.close();
    });
    QTest::mouseClick(aplicar, Qt::LeftButton);
    EXPECT_TRUE(dentro);
    EXPECT_FALSE(habilitado);
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_TRUE(aplicar->isEnabled());
    EXPECT_EQ(Control<QLabel>(ventana, "lblResul_7")->text(), QStringLiteral("232.00"));
    EXPECT_EQ(CarpetaDePrueba::lee(Bitacora::Archivo()).count("\tfactura aplicar\t"), 1);
    EXPECT_TRUE(base.valor(QStringLiteral("SHOW DATABASES LIKE 'tmpreprocesarem'")).isValid());
}

// While the invoice's transaction is open the window repaints its folio but runs no events,
// and a refused "Aplicar" leaves the totals and "Generar factura" of the last one as they were.
TEST_F(VentanaDeFactura, LaFacturaSeGeneraSinEventosYUnRechazoConservaLoAplicado) {
    ajuste("Base de datos de resguardo", resguardo.toUtf8().constData());
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* porcentaje = Control<QLineEdit>(ventana, "txtDato_3");
    porcentaje->setText(QStringLiteral("0"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    porcentaje->setText(QStringLiteral("150"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(Control<QLabel>(ventana, "lblAviso")->text(),
              QStringLiteral("El porcentaje debe ser menor que 100."));
    EXPECT_EQ(Control<QLabel>(ventana, "lblResul_7")->text(), QStringLiteral("232.00"));
    auto* generar = Control<QPushButton>(ventana, "cmdGenerar");
    EXPECT_FALSE(generar->isEnabled());
    porcentaje->setText(QStringLiteral("0.00"));
    ASSERT_TRUE(generar->isEnabled());

    bool eventoDentro = false;
    QTimer::singleShot(0, &ventana, [&] { eventoDentro = ventana.Trabajando(); });
    dialogos.responde(true);
    QTest::mouseClick(generar, Qt::LeftButton);
    EXPECT_FALSE(eventoDentro);
    EXPECT_EQ(dialogos.cajas().last().texto, QStringLiteral("Factura creada 'B124'"));
    const QByteArray bitacora = CarpetaDePrueba::lee(Bitacora::Archivo());
    EXPECT_TRUE(bitacora.contains("\tfactura generar\tserie 'B', cliente 'CLIENTE'"));
    EXPECT_TRUE(bitacora.contains("\tfactura B124 (Id "));
}

// The totals belong to the filters and percentage they were made from; the invoice's own
// series, client and date do not touch them.
TEST_F(VentanaDeFactura, CambiarUnFiltroExigeAplicarDeNuevo) {
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* generar = Control<QPushButton>(ventana, "cmdGenerar");
    const QString hoy = libKwtm::TextoDeFecha(QDate::currentDate());
    const struct {
        const char* caja;
        QString texto;
        bool vigente;
    } cambios[] = {{"txtDato_2", QStringLiteral("Z"), false},
                   {"txtDato_4", QStringLiteral("C1"), false},
                   {"txtDato_5", QStringLiteral("ANA"), false},
                   {"txtDato_3", QStringLiteral("10"), false},
                   {"mkeFecha_0", QStringLiteral("01/01/2020"), false},
                   {"mkeFecha_1", QStringLiteral("01/01/2020"), false},
                   {"txtDato_0", QStringLiteral("C"), true},
                   {"txtDato_1", QStringLiteral("C1"), true},
                   {"mkeFecha_2", QStringLiteral("01/01/2020"), true}};
    for (const auto& c : cambios) {
        auto* caja = Control<QLineEdit>(ventana, c.caja);
        const QString antes = caja->text();
        Control<QLineEdit>(ventana, "txtDato_3")->setText(QStringLiteral("0"));
        QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
        ASSERT_TRUE(generar->isEnabled()) << c.caja;
        caja->setText(c.texto);
        EXPECT_EQ(generar->isEnabled(), c.vigente) << c.caja;
        caja->setText(antes);
        EXPECT_TRUE(generar->isEnabled()) << c.caja;
    }
    EXPECT_EQ(Control<QLineEdit>(ventana, "mkeFecha_0")->text(), hoy);
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(VentanaDeFactura, SinRemisionesLoDiceYNoOfreceLaFactura) {
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    Control<QLineEdit>(ventana, "txtDato_2")->setText(QStringLiteral("Z"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(dialogos.cajas()[0].texto, QStringLiteral("No hay remisiones con esos datos"));
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    EXPECT_TRUE(Control<QLabel>(ventana, "lblResul_7")->text().isEmpty());
}

// A folio counter past the folios an invoice can have is refused before anything is asked.
TEST_F(VentanaDeFactura, UnFolioQueNoCabeSeRechaza) {
    base.ejecuta(QStringLiteral("UPDATE sistema SET Contenido='2147483647' WHERE Dato='FA-B'"));
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    EXPECT_EQ(Control<QLabel>(ventana, "lblFolio")->text(), QStringLiteral("2147483648"));
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(ventana, "cmdGenerar"), Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_FALSE(dialogos.cajas()[0].esPregunta);
    EXPECT_TRUE(dialogos.cajas()[0].texto.contains(QStringLiteral("2147483648")));
    EXPECT_FALSE(base.valor(QStringLiteral("SELECT Id FROM facturas")).isValid());
}

// The server goes away: the window says so, clears its totals, closes quietly if asked, and
// otherwise connects again, takes the working database again and goes on.
TEST_F(VentanaDeFactura, SobreviveALaPerdidaDelServidor) {
    frmReproceso ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* aplicar = Control<QPushButton>(ventana, "cmdAplicar");
    QTest::mouseClick(aplicar, Qt::LeftButton);
    ASSERT_TRUE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    const auto dueno = [this] {
        return base.valor(QStringLiteral("SELECT IS_USED_LOCK('%1')").arg(BaseDeFactura::Candado()))
            .toString();
    };
    const QString antes = dueno();
    ASSERT_FALSE(antes.isEmpty());
    base.ejecuta(QStringLiteral("KILL ") + antes);
    ASSERT_TRUE(EsperaHasta([&] { return dueno() != antes; }));

    QTest::mouseClick(Control<QPushButton>(ventana, "cmdGenerar"), Qt::LeftButton);
    ASSERT_EQ(dialogos.cajas().size(), 1);
    EXPECT_TRUE(dialogos.cajas()[0].texto.startsWith(QStringLiteral("Se perdió la conexión")))
        << qPrintable(dialogos.cajas()[0].texto);
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    EXPECT_TRUE(Control<QLabel>(ventana, "lblResul_7")->text().isEmpty());
    EXPECT_FALSE(base.valor(QStringLiteral("SELECT Id FROM facturas")).isValid());
    // Typing while the server is away looks nothing up and says nothing more.
    Control<QLineEdit>(ventana, "txtDato_1")->setText(QStringLiteral("C1"));
    EXPECT_EQ(dialogos.cajas().size(), 1);

    QTest::mouseClick(aplicar, Qt::LeftButton);
    EXPECT_EQ(dialogos.cajas().size(), 1);
    EXPECT_EQ(Control<QLabel>(ventana, "lblResul_7")->text(), QStringLiteral("232.00"));
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    EXPECT_FALSE(dueno().isEmpty());
    EXPECT_NE(dueno(), antes);
}

TEST_F(VentanaDeFactura, ElMenuLaOfreceSoloConElAjuste) {
    {
        Menu menu;
        menu.show();
        EXPECT_FALSE(menu.findChild<QPushButton*>(QStringLiteral("Command1"))->isVisible());
    }
    ajuste("Mostrar reprocesamiento", "1");
    Menu menu;
    menu.show();
    auto* boton = menu.findChild<QPushButton*>(QStringLiteral("Command1"));
    EXPECT_TRUE(boton->isVisible());
    EXPECT_TRUE(boton->isEnabled());
}

TEST_F(VentanaDeFactura, LaOrdenFacturaImprimeLosTotalesYCreaLaFactura) {
    ajuste("Base de datos de resguardo", resguardo.toUtf8().constData());
    const QString hoy = libKwtm::TextoDeFecha(QDate::currentDate());
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("factura"), QStringLiteral("--desde"), hoy,
                    QStringLiteral("--hasta"), hoy, QStringLiteral("--porcentaje"),
                    QStringLiteral("50"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
                    QStringLiteral("--cliente"), QStringLiteral("C1"),
                    QStringLiteral("--generar")});
    ASSERT_TRUE(programa.waitForFinished(30000));
    EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(programa.readAllStandardOutput()),
              QStringLiteral("\tSin aplicar descuento:\tCon el % aplicado:\n"
                             "Subtotal:\t200.00\t100.00\n"
                             "I. V. A.:\t32.00\t16.00\n"
                             "IEPS:\t0.00\t0.00\n"
                             "Total:\t232.00\t116.00\n"
                             "Factura creada 'B124'\n"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT Subtotal FROM facturas")).toString(),
              QStringLiteral("100.0000"));
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW DATABASES LIKE 'tmpreprocesarem'")).isValid());
}

// What an invoice stopped half-way left (here a note copied to an archive database without
// transactions while still open in the host) is said when the window opens, and a command-line
// invoice on the same notes refuses with it and writes no header.
TEST_F(VentanaDeFactura, UnaFacturaQueNoSeTerminoSeAvisaYNoSeRepite) {
    ajuste("Base de datos de resguardo", resguardo.toUtf8().constData());
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        base.ejecuta(
            QStringLiteral("ALTER TABLE %1.%2 ENGINE=MyISAM").arg(resguardo, QLatin1String(tabla)));
    }
    base.ejecuta(QStringLiteral("INSERT INTO %1.remisiones SELECT * FROM remisiones WHERE Id=1")
                     .arg(resguardo));
    {
        frmReproceso ventana;
        ASSERT_TRUE(ActivaVentana(&ventana));
        ASSERT_FALSE(dialogos.cajas().isEmpty());
        EXPECT_TRUE(dialogos.cajas().first().texto.startsWith(
            QStringLiteral("Una factura por remisiones anterior no se terminó de generar")))
            << qPrintable(dialogos.cajas().first().texto);
        EXPECT_EQ(dialogos.cajas().first().titulo, QStringLiteral("Atención"));
    }
    const QString hoy = libKwtm::TextoDeFecha(QDate::currentDate());
    QProcess programa;
    programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                   {QStringLiteral("factura"), QStringLiteral("--desde"), hoy,
                    QStringLiteral("--hasta"), hoy, QStringLiteral("--porcentaje"),
                    QStringLiteral("50"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
                    QStringLiteral("--cliente"), QStringLiteral("C1"),
                    QStringLiteral("--generar")});
    ASSERT_TRUE(programa.waitForFinished(30000));
    const QString errores = QString::fromUtf8(programa.readAllStandardError());
    EXPECT_EQ(programa.exitCode(), 2) << qPrintable(errores);
    EXPECT_TRUE(errores.contains(QStringLiteral("1 remisión copiada en %1 que sigue sin "
                                                "cancelar: A ")
                                     .arg(resguardo)))
        << qPrintable(errores);
    EXPECT_TRUE(errores.contains(QStringLiteral("No se generó otra factura.")))
        << qPrintable(errores);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM facturas")).toInt(), 0);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT SUM(Cancelada) FROM remisiones")).toInt(), 0);
}

} // namespace
