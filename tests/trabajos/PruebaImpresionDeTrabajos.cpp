#include "trabajos/ImpresionDeTrabajos.h"

namespace {

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

} // namespace
