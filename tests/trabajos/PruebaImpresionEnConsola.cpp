#include "trabajos/ImpresionDeTrabajos.h"

namespace {

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
    // The cause leads, naming the file; then where it stopped, the error's number, and last
    // what to do.
    const QStringList enOrden = {
        QStringLiteral("No hay espacio en el disco para escribir el archivo «%1/A-502.pdf».")
            .arg(pdf),
        QStringLiteral("La impresión se detuvo en la remisión A 502"),
        QStringLiteral("Error no. 20599: No hay espacio en el disco para escribir A-502.pdf"),
        QStringLiteral("Libere espacio en ese disco y ejecute la misma orden con --continuar para "
                       "imprimir las que faltan.\n")};
    qsizetype antes = -1;
    for (const QString& parte : enOrden) {
        const qsizetype donde = llena.errores.indexOf(parte);
        EXPECT_GT(donde, antes) << qPrintable(parte + QLatin1Char('\n') + llena.errores);
        antes = donde;
    }
    EXPECT_TRUE(llena.errores.endsWith(enOrden.last())) << qPrintable(llena.errores);
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
    QStringList argumentos;         // {pdf} stands for a folder of PDF files off the small disk
    const char* archivo;            // the file named in the error
    qint64 dejar = 0;               // bytes left free on the disk
    const char* aconseja = nullptr; // what to do, for a print that could not begin
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
    if (GetParam().aconseja != nullptr) {
        EXPECT_TRUE(salida.errores.contains(QString::fromUtf8(GetParam().aconseja)))
            << qPrintable(salida.errores);
    }
    // The error's number comes after the cause, never before it.
    EXPECT_LT(salida.errores.indexOf(QStringLiteral("No hay espacio en el disco para escribir el "
                                                    "archivo")),
              salida.errores.indexOf(QStringLiteral("Error no.")))
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
            "Impresiones.sqlite",
            0,
            "libere espacio en ese disco y vuelva a intentar."},
        OrdenEnDiscoLleno{
            "ImprimirConPocoEspacio",
            {QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("501"),
             QStringLiteral("--final"), QStringLiteral("503"), QStringLiteral("--porcentaje"),
             QStringLiteral("15"), QStringLiteral("--serie"), QStringLiteral("A"),
             QStringLiteral("--imprimir"), QStringLiteral("--pdf"), QStringLiteral("{pdf}")},
            // The print ledger is the first file a print writes: nothing prints without it.
            "Impresiones.sqlite",
            20 * 1024,
            "libere espacio en ese disco y vuelva a intentar."}),
    [](const auto& info) { return std::string(info.param.caso); });

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
