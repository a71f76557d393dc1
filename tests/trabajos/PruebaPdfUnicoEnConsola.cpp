#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/ColumnasNombradas.h"
#include "apoyo/DiscoPequeno.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The percentage job from the command line over three notes, printed into one PDF.
class PdfUnicoEnConsola : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        const QDate dia(2026, 11, 2);
        AgregaNotas(base, {{11, dia, 1000, 160, 0, QStringLiteral("A"), 501},
                           {12, dia, 500, 80, 0, QStringLiteral("A"), 502},
                           {13, dia, 200, 32, 0, QStringLiteral("A"), 503}});
    }

    struct Salida {
        int codigo = -1;
        QString errores;
    };

    static Salida corre(const QStringList& opciones) {
        return correOrden(QStringList{QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                                      QStringLiteral("501"), QStringLiteral("--final"),
                                      QStringLiteral("503"), QStringLiteral("--porcentaje"),
                                      QStringLiteral("15"), QStringLiteral("--serie"),
                                      QStringLiteral("A")} +
                          opciones);
    }

    // What the invoice job needs: an archive database beside the store and the series' counter.
    void preparaFactura() {
        ArchivoIni(Proceso::actual().stArchivoIni)
            .escribe(QStringLiteral("Configuración"), QStringLiteral("Base de datos de resguardo"),
                     CreaResguardo(base));
        base.ejecuta(QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '7')"));
    }

    static Salida correOrden(const QStringList& argumentos) {
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), argumentos);
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardError())};
    }
};

TEST_F(PdfUnicoEnConsola, LasOpcionesQueNoSeCombinanSeRechazan) {
    const QString pdf = carpeta.ruta(QStringLiteral("corrida.pdf"));
    const struct {
        QStringList opciones;
        const char* dice;
    } casos[] = {
        {{QStringLiteral("--pdf-unico"), pdf}, "--pdf-unico requiere --imprimir"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf, QStringLiteral("--pdf"),
          carpeta.ruta(QStringLiteral("pdf"))},
         "--pdf y --pdf-unico no se combinan"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), QStringLiteral(" ")},
         "--pdf-unico necesita el nombre"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), carpeta.programa()},
         "» es una carpeta; dé el nombre del archivo PDF"},
        {{QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "--desde-remision requiere --imprimir"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--continuar"),
          QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "--continuar y --desde-remision no se combinan"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--omitir-pendientes")},
         "--omitir-pendientes solo sirve con --desde-remision"},
        // Nothing of this job was printed yet: there is no run to go on with or reprint.
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf,
          QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "Este trabajo no tiene una impresión anterior"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf,
          QStringLiteral("--continuar")},
         "Este trabajo no tiene una impresión anterior"},
    };
    for (const auto& c : casos) {
        const Salida s = corre(c.opciones);
        EXPECT_EQ(s.codigo, 2) << c.dice;
        EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.dice))) << qPrintable(s.errores);
    }
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// A workstation set up for TLS whose server offers none (TLS turned off since): every job
// refuses before its first statement, with the cause in Spanish, and writes nothing.
TEST_F(PdfUnicoEnConsola, ConTlsConfiguradoNadaVaSinCifrar) {
    if (base.valor(QStringLiteral("SELECT @@have_ssl")).toString() == QLatin1String("YES")) {
        GTEST_SKIP() << "sólo con un servidor sin TLS";
    }
    ArchivoIni ini(Proceso::actual().stArchivoIni);
    ini.escribe(QStringLiteral("Configuración"), QStringLiteral("TLS"), QStringLiteral("1"));
    const QString pdf = carpeta.ruta(QStringLiteral("corrida.pdf"));
    const QStringList ordenes[] = {
        {QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--tope"),
         QStringLiteral("100000"), QStringLiteral("--folio"), QStringLiteral("7"),
         QStringLiteral("--serie"), QStringLiteral("A")},
        {QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("501"),
         QStringLiteral("--final"), QStringLiteral("503"), QStringLiteral("--porcentaje"),
         QStringLiteral("15"), QStringLiteral("--serie"), QStringLiteral("A"),
         QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf},
        {QStringLiteral("factura"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--porcentaje"),
         QStringLiteral("10"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
         QStringLiteral("--cliente"), QStringLiteral("C001"), QStringLiteral("--generar")},
    };
    for (const QStringList& orden : ordenes) {
        const Salida s = correOrden(orden);
        EXPECT_EQ(s.codigo, 1) << qPrintable(orden.first());
        EXPECT_TRUE(s.errores.startsWith(QStringLiteral("El servidor «")) &&
                    s.errores.contains(QStringLiteral("no ofrece conexiones cifradas (TLS)")))
            << qPrintable(s.errores);
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(
        QFile::exists(QDir(carpeta.programa()).filePath(QStringLiteral("ListaRemisiones.txt"))));
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
    EXPECT_FALSE(base.valor(QStringLiteral("SELECT COUNT(*) FROM facturas")).toInt());
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW DATABASES LIKE 'tmpreprocesarem'")).isValid());
}

// A trail that cannot take its line (a folder stands where Bitacora.txt goes): what the job did
// stays done, and the command says its record is missing and does not end in 0.
TEST_F(PdfUnicoEnConsola, UnaBitacoraQueNoTomaSuLineaLoDiceYNoTerminaEnCero) {
    preparaFactura();
    ASSERT_TRUE(QDir().mkpath(Bitacora::Archivo()));
    const Salida tope =
        correOrden({QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
                    QStringLiteral("--hasta"), QStringLiteral("02/11/2026"),
                    QStringLiteral("--tope"), QStringLiteral("100000"), QStringLiteral("--folio"),
                    QStringLiteral("7"), QStringLiteral("--serie"), QStringLiteral("A")});
    EXPECT_EQ(tope.codigo, 1);
    EXPECT_TRUE(tope.errores.contains(
        QStringLiteral("La orden se cumplió, pero no se pudo anotar en la bitácora: Bitacora.txt "
                       "es una carpeta")))
        << qPrintable(tope.errores);
    EXPECT_TRUE(
        QFile::exists(QDir(carpeta.programa()).filePath(QStringLiteral("ListaRemisiones.txt"))));
    const Salida factura = correOrden(
        {QStringLiteral("factura"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--porcentaje"),
         QStringLiteral("10"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
         QStringLiteral("--cliente"), QStringLiteral("C001"), QStringLiteral("--generar")});
    EXPECT_EQ(factura.codigo, 1);
    EXPECT_TRUE(factura.errores.contains(
        QStringLiteral("': la factura está hecha y sus remisiones canceladas, pero no se pudo "
                       "anotar en la bitácora (Bitacora.txt es una carpeta")))
        << qPrintable(factura.errores);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM facturas")).toInt(), 1);
}

// Folios are whole numbers within the folio column's range, and the range is checked as the
// window checks it; anything else is refused before the store is touched.
TEST_F(PdfUnicoEnConsola, LosFoliosSonEnterosDelRangoDeLaColumna) {
    const struct {
        const char* inicial;
        const char* final;
        const char* dice;
    } casos[] = {
        {"1e30", "503", "--inicial: \"1e30\" no es un folio"},
        {"nan", "503", "--inicial: \"nan\" no es un folio"},
        {"501.5", "503", "--inicial: \"501.5\" no es un folio"},
        {"0", "503", "--inicial: \"0\" no es un folio"},
        {"-3", "503", "--inicial: \"-3\" no es un folio"},
        {"501", "2147483648", "--final: \"2147483648\" no es un folio"},
        {"501", "", "--final: \"\" no es un folio"},
        {"503", "501", "La remisión inicial es mayor que la final."},
    };
    for (const auto& c : casos) {
        const Salida s = correOrden({QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                                     QString::fromLatin1(c.inicial), QStringLiteral("--final"),
                                     QString::fromLatin1(c.final), QStringLiteral("--porcentaje"),
                                     QStringLiteral("15")});
        EXPECT_EQ(s.codigo, 2) << c.inicial << " " << c.final;
        EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.dice))) << qPrintable(s.errores);
    }
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
    // Digit groups are taken, as in the window.
    const Salida agrupada =
        correOrden({QStringLiteral("porcentaje"), QStringLiteral("--inicial"), QStringLiteral("1"),
                    QStringLiteral("--final"), QStringLiteral("2,147,483,647"),
                    QStringLiteral("--porcentaje"), QStringLiteral("15")});
    EXPECT_EQ(agrupada.codigo, 0) << qPrintable(agrupada.errores);
}

TEST_F(PdfUnicoEnConsola, LasRemisionesDeLaCorridaQuedanEnUnArchivo) {
    const QString pdf = carpeta.ruta(QStringLiteral("mes/noviembre.pdf"));
    const Salida s = corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf});
    EXPECT_EQ(s.codigo, 0) << qPrintable(s.errores);
    const QStringList paginas = PaginasDePdf(pdf);
    ASSERT_EQ(paginas.size(), 3);
    // The reduced copies, in order: 85 % of each subtotal.
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("850.00")));
    EXPECT_TRUE(paginas[1].contains(QStringLiteral("425.00")));
    EXPECT_TRUE(paginas[2].contains(QStringLiteral("170.00")));
    EXPECT_EQ(QDir(carpeta.ruta(QStringLiteral("mes"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("noviembre.pdf")});
}

TEST_F(PdfUnicoEnConsola, UnArchivoQueNoSePuedeEscribirEsUnaFallaSinRestos) {
    // The folder named is a file: the PDF cannot be made there.
    const QString estorbo = carpeta.ruta(QStringLiteral("estorbo"));
    CarpetaDePrueba::escribe(estorbo, "no es una carpeta");
    const Salida s = corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"),
                            QDir(estorbo).filePath(QStringLiteral("corrida.pdf"))});
    EXPECT_EQ(s.codigo, 1) << qPrintable(s.errores);
    EXPECT_TRUE(s.errores.contains(QStringLiteral("Se imprimieron 0 de 3 remisiones.")))
        << qPrintable(s.errores);
    EXPECT_EQ(CarpetaDePrueba::lee(estorbo), QByteArray("no es una carpeta"));
}

// The disk fills while the pages are painted, or once they are, while the file gets its
// bookmarks: the run fails naming the file and the cause, counts no note printed, and leaves
// neither the file nor its scratch copy.
TEST_F(PdfUnicoEnConsola, EnUnDiscoQueSeLlenaNoQuedaNiElArchivoNiSuBorrador) {
    DiscoPequeno disco(1024);
    if (!disco.Montado()) {
        GTEST_SKIP() << qPrintable(disco.PorQueNo());
    }
    const QString pdf = disco.ruta(QStringLiteral("corrida.pdf"));
    ASSERT_EQ(corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf}).codigo, 0);
    const qint64 entero = QFileInfo(pdf).size();
    ASSERT_TRUE(QFile::remove(pdf));
    // Room for half the file; for the scratch copy but not for the file beside it.
    for (const qint64 libre : {entero / 2, entero * 3 / 2}) {
        disco.Llena(libre);
        const Salida s = corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf});
        EXPECT_EQ(s.codigo, 1) << libre << qPrintable(s.errores);
        EXPECT_TRUE(s.errores.contains(QStringLiteral("Se imprimieron 0 de 3 remisiones.")))
            << libre << qPrintable(s.errores);
        EXPECT_TRUE(s.errores.contains(
            QStringLiteral("No hay espacio en el disco para escribir el archivo «%1».").arg(pdf)))
            << libre << qPrintable(s.errores);
        EXPECT_TRUE(disco.Archivos().isEmpty()) << qPrintable(disco.Archivos().join(u' '));
    }
}

// A store whose tables hold only the columns the program may rely on: the three jobs run on it
// from the command line (on the strict server its tables take no transactions).
TEST_F(PdfUnicoEnConsola, EnUnaTiendaConSoloLasColumnasNombradasCorrenLosTresTrabajos) {
    DejaSoloLasColumnasNombradas(base);
    preparaFactura();
    const QString pdf = carpeta.ruta(QStringLiteral("corrida.pdf"));
    const Salida porcentaje =
        corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf});
    EXPECT_EQ(porcentaje.codigo, 0) << qPrintable(porcentaje.errores);
    EXPECT_EQ(PaginasDePdf(pdf).size(), 3);
    const Salida tope = correOrden(
        {QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--tope"),
         QStringLiteral("100000"), QStringLiteral("--folio"), QStringLiteral("7"),
         QStringLiteral("--serie"), QStringLiteral("A"), QStringLiteral("--imprimir"),
         QStringLiteral("--pdf"), carpeta.ruta(QStringLiteral("tope"))});
    EXPECT_EQ(tope.codigo, 0) << qPrintable(tope.errores);
    EXPECT_EQ(QDir(carpeta.ruta(QStringLiteral("tope"))).entryList(QDir::Files).size(), 3);
    const Salida factura = correOrden(
        {QStringLiteral("factura"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
         QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--porcentaje"),
         QStringLiteral("10"), QStringLiteral("--serie-factura"), QStringLiteral("B"),
         QStringLiteral("--cliente"), QStringLiteral("C001"), QStringLiteral("--generar")});
    EXPECT_EQ(factura.codigo, 0) << qPrintable(factura.errores);
    // One unit a line: the reduced quantity rounds back to 1.
    EXPECT_EQ(base.valor(QStringLiteral("SELECT Subtotal FROM facturas")).toDouble(), 1700.0);
    EXPECT_EQ(
        base.valor(QStringLiteral("SELECT COUNT(*) FROM remisiones WHERE Cancelada=1")).toInt(), 3);
}

} // namespace
