#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "orvlib/Windows1252.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/Pintor.h"
#include "reporteador/Plantilla.h"
#include "servicios/Bitacora.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kDia(2026, 11, 2);

// The pages of a PDF as pdftoppm draws them at that resolution.
QList<QImage> paginasDibujadas(const QString& pdf, double dpi) {
    QTemporaryDir dir;
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf,
                    dir.filePath(QStringLiteral("p"))});
    pdftoppm.waitForFinished(30000);
    QList<QImage> paginas;
    for (const QString& png :
         QDir(dir.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        paginas << QImage(dir.filePath(png));
    }
    return paginas;
}

// The pixels that differ between two pictures drawn by one renderer; every pixel when their
// sizes differ.
int pixelesDistintos(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return a.width() * a.height();
    }
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
    int distintos = 0;
    for (int y = 0; y < ga.height(); ++y) {
        for (int x = 0; x < ga.width(); ++x) {
            distintos += qAbs(qGray(ga.pixel(x, y)) - qGray(gb.pixel(x, y))) > 32 ? 1 : 0;
        }
    }
    return distintos;
}

// A previewed note's pages put into a PDF by the writer the print runs use.
QString enPdf(const DocumentoEnVista& documento, const QString& ruta) {
    Plantilla hoja;
    hoja.nombre = documento.titulo;
    hoja.anchoHoja = documento.hojaMm.width();
    hoja.altoHoja = documento.hojaMm.height();
    DocumentoDeCorrida pdf(ruta);
    pdf.Agrega(hoja, documento.paginas);
    return pdf.Termina();
}

// The store of the print tests: notes over two days, a cap run of three copies (A 1500 to
// A 1502) or a percentage run of folios 501 to 503.
class VistaYContinuacion : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        AgregaNotas(base, {{11, kDia, 1000, 160, 0, QStringLiteral("A"), 501},
                           {12, kDia, 500, 80, 0, QStringLiteral("A"), 502},
                           {13, kDia.addDays(1), 200, 32, 0, QStringLiteral("A"), 503}});
    }

    static void escribe(QWidget& ventana, const char* caja, const char* texto) {
        Control<QLineEdit>(ventana, caja)->setText(QString::fromUtf8(texto));
    }

    static void pulsa(QWidget& ventana, const char* boton) {
        QTest::mouseClick(Control<QPushButton>(ventana, boton), Qt::LeftButton);
    }

    static void aplicaTope(frmRemisTyP& ventana) {
        LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "100000", "1500");
        pulsa(ventana, "cmdAplicar");
    }

    // Prints with the window's "&Imprimir", cancelled once n notes came out.
    void imprimeYCancelaTras(QWidget& ventana, int n) {
        dialogos.responde(true);
        auto* cancelar = Control<QPushButton>(ventana, "Command3");
        const qsizetype antes = Nuevos().size();
        QTimer vigia;
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            if (Nuevos().size() - antes >= n - 1 && cancelar->isEnabled()) {
                vigia.stop();
                cancelar->click();
            }
        });
        vigia.start(0);
        pulsa(ventana, "Command1");
    }

    // The notes of the window's "Vista previa", after paging through them all at the zoom
    // given: each page shown is the engine's painting of the note's page.
    static QVector<DocumentoEnVista> vistaPrevia(QWidget& ventana, double zoom) {
        QVector<DocumentoEnVista> notas;
        QTimer espera;
        QObject::connect(&espera, &QTimer::timeout, [&] {
            auto* vista = qobject_cast<VistaPrevia*>(QApplication::activeModalWidget());
            if (vista == nullptr) {
                return;
            }
            espera.stop();
            vista->PonZoom(zoom);
            notas = vista->Documentos();
            for (int d = 0; d < notas.size(); ++d) {
                for (int p = 0; p < notas[d].paginas.size(); ++p) {
                    vista->IrA(d, p);
                    EXPECT_EQ(vista->Imagen(), Pintor::Hoja(notas[d].paginas[p], notas[d].hojaMm,
                                                            VistaPrevia::PuntosPorMm(zoom)));
                }
            }
            vista->close();
        });
        espera.start(20);
        pulsa(ventana, "cmdVistaPrevia");
        return notas;
    }

    // The server's checksum of a host table (the notes by default).
    QString sumaDeRemisiones(const char* tabla = "remisiones") {
        QSqlQuery q = base.conexion().consulta(QStringLiteral("CHECKSUM TABLE ") +
                                               QString::fromLatin1(tabla));
        return q.next() ? q.value(1).toString() : QString();
    }

    QStringList bitacora() const {
        return Windows1252::decodifica(CarpetaDePrueba::lee(Bitacora::Archivo()))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    struct Salida {
        int codigo = -1;
        QString errores;
        QString salida;
    };

    // The cap job from the command line over the store's notes, printed to PDFs in carpetaPdf.
    static Salida topeEnConsola(const QString& folio, const QString& carpetaPdf,
                                const QStringList& mas) {
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                       QStringList{QStringLiteral("tope"), QStringLiteral("--desde"),
                                   QStringLiteral("02/11/2026"), QStringLiteral("--hasta"),
                                   QStringLiteral("03/11/2026"), QStringLiteral("--tope"),
                                   QStringLiteral("100000"), QStringLiteral("--folio"), folio,
                                   QStringLiteral("--serie"), QStringLiteral("A"),
                                   QStringLiteral("--imprimir"), QStringLiteral("--pdf"),
                                   carpetaPdf} +
                           mas);
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardError()),
                QString::fromUtf8(programa.readAllStandardOutput())};
    }
};

// The preview shows every note page by page as the printer gets it: drawn by the same engine
// and painter, each page matches the printed PDF's page of the same note and not another
// note's, size lines included; nothing is printed and nothing is written to the host: its notes
// and its size and colour rows (one of another print among them) stay byte for byte.
TEST_F(VistaYContinuacion, LaVistaPreviaEsLoQueSeImprime) {
    base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET IdExterna='RE000000011001' WHERE "
                                "Id=11"));
    base.ejecuta(QStringLiteral("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) VALUES "
                                "('RE000000011001', 'T-CH', 2), ('RE000000011001', 'T-G', 1)"));
    base.ejecuta(QStringLiteral("INSERT INTO partidatallaocolor (IdExterna, Campo1) VALUES "
                                "('RE000000011999', 'de otra impresión')"));
    const QString tallas = sumaDeRemisiones("partidatallaocolor");
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    auto* boton = Control<QPushButton>(ventana, "cmdVistaPrevia");
    EXPECT_FALSE(boton->isVisible() && boton->isEnabled());
    aplicaTope(ventana);
    ASSERT_TRUE(boton->isEnabled());
    const QString antes = sumaDeRemisiones();
    const QVector<DocumentoEnVista> vista = vistaPrevia(ventana, 1.0);
    EXPECT_TRUE(Nuevos().isEmpty());
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(sumaDeRemisiones(), antes);
    EXPECT_EQ(sumaDeRemisiones("partidatallaocolor"), tallas);
    ASSERT_EQ(vista.size(), 3);

    dialogos.responde(true);
    pulsa(ventana, "Command1");
    const QStringList pdfs = Nuevos();
    ASSERT_EQ(pdfs.size(), 3);
    QList<QList<QImage>> vistas;
    QList<QList<QImage>> impresas;
    for (int n = 0; n < 3; ++n) {
        vistas << paginasDibujadas(
            enPdf(vista[n], carpeta.ruta(QStringLiteral("vista-%1.pdf").arg(n))), 96);
        impresas << paginasDibujadas(pdfs[n], 96);
    }
    for (int n = 0; n < 3; ++n) {
        ASSERT_EQ(vistas[n].size(), impresas[n].size()) << n;
        ASSERT_FALSE(vistas[n].isEmpty());
        for (int p = 0; p < vistas[n].size(); ++p) {
            EXPECT_EQ(pixelesDistintos(vistas[n][p], impresas[n][p]), 0) << n << ' ' << p;
        }
        // Another note's page differs in its folio and amounts.
        EXPECT_GT(pixelesDistintos(vistas[n][0], impresas[(n + 1) % 3][0]), 100) << n;
    }
}

// A run cancelled after the first of three notes offers to go on from the second; going on
// prints the second and the third and no other, the trail says with what and from where, and
// the finished run then offers a reprint from a note.
TEST_F(VistaYContinuacion, UnaCorridaCanceladaSigueDesdeLaSiguiente) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    auto* continuar = Control<QPushButton>(ventana, "cmdContinuar");
    EXPECT_FALSE(continuar->isVisible());
    imprimeYCancelaTras(ventana, 1);
    ASSERT_EQ(Nuevos().size(), 1);
    ASSERT_TRUE(continuar->isVisible());
    EXPECT_EQ(continuar->text(), QStringLiteral("Continuar desde la re&misión 2 (folio A 1501)"));

    dialogos.responde(true);
    pulsa(ventana, "cmdContinuar");
    EXPECT_EQ(dialogos.cajas()[dialogos.cajas().size() - 2].texto,
              QStringLiteral("¿Desea imprimir estas remisiones?\r\n\r\nSe imprimirán las 2 "
                             "remisiones que faltan, desde la remisión 2 de 3 (folio A 1501) "
                             "hasta la 3 (folio A 1502); 1 ya se imprimió."));
    const QStringList pdfs = Nuevos();
    ASSERT_EQ(pdfs.size(), 3);
    EXPECT_TRUE(PaginasDePdf(pdfs[1]).join(QString()).contains(QStringLiteral("A 1501")));
    EXPECT_TRUE(PaginasDePdf(pdfs[2]).join(QString()).contains(QStringLiteral("A 1502")));
    EXPECT_EQ(dialogos.cajas().last().texto,
              QStringLiteral("Remisiones impresas: 2") + EnLaCarpeta());
    const QStringList linea = bitacora().last().split(QLatin1Char('\t'));
    ASSERT_EQ(linea.size(), 6);
    EXPECT_EQ(linea[3], QStringLiteral("tope imprimir"));
    EXPECT_EQ(linea[4], QStringLiteral("del 02/11/2026 al 03/11/2026, serie 'A', tope 100,000.00, "
                                       "folio 1500; continúa desde la remisión 2 de 3 (folio A "
                                       "1501) hasta la 3 (folio A 1502); pdf ") +
                            QDir::toNativeSeparators(carpeta.ruta(QStringLiteral("pdf"))));
    EXPECT_EQ(linea[5], QStringLiteral("impresas 2 de 2, en la cola 0, con error 0"));

    // The printer jammed on the second note: the clerk reprints from it; its file is replaced.
    ASSERT_TRUE(continuar->isVisible());
    EXPECT_EQ(continuar->text(), QStringLiteral("Reimprimir desde una re&misión…"));
    dialogos.elegira(1);
    dialogos.responde(true);
    pulsa(ventana, "cmdContinuar");
    EXPECT_EQ(dialogos.opcionesVistas(),
              (QStringList{QStringLiteral("Remisión 1 de 3 · folio A 1500 · impresa"),
                           QStringLiteral("Remisión 2 de 3 · folio A 1501 · impresa"),
                           QStringLiteral("Remisión 3 de 3 · folio A 1502 · impresa")}));
    EXPECT_TRUE(dialogos.cajas()[dialogos.cajas().size() - 2].texto.endsWith(
        QStringLiteral("Se imprimirán 2 remisiones, desde la remisión 2 de 3 (folio A 1501) hasta "
                       "la 3 (folio A 1502); 2 ya se habían impreso.")))
        << qPrintable(dialogos.cajas()[dialogos.cajas().size() - 2].texto);
    const QStringList reimpresas = Nuevos().mid(3);
    ASSERT_EQ(reimpresas.size(), 2);
    EXPECT_EQ(reimpresas, pdfs.mid(1));
    EXPECT_TRUE(bitacora().last().contains(QStringLiteral("reimprime desde la remisión 2 de 3")));
}

// The working tables changed after the run stopped (another workstation ran the job on other
// inputs): going on is refused and nothing prints; applying again withdraws the offer.
TEST_F(VistaYContinuacion, SiElTrabajoSeVolvioAAplicarNoSeContinua) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    aplicaTope(ventana);
    imprimeYCancelaTras(ventana, 1);
    auto* continuar = Control<QPushButton>(ventana, "cmdContinuar");
    ASSERT_TRUE(continuar->isVisible());
    base.ejecuta(QStringLiteral("UPDATE tmpremisiones SET Factura=Factura+100"));
    const qsizetype cajas = dialogos.cajas().size();
    pulsa(ventana, "cmdContinuar");
    EXPECT_EQ(Nuevos().size(), 1);
    ASSERT_EQ(dialogos.cajas().size(), cajas + 1);
    EXPECT_TRUE(
        dialogos.cajas().last().texto.contains(QStringLiteral("ya no son las que se imprimían")))
        << qPrintable(dialogos.cajas().last().texto);
    EXPECT_FALSE(continuar->isVisible());

    imprimeYCancelaTras(ventana, 2);
    ASSERT_TRUE(continuar->isVisible());
    aplicaTope(ventana);
    EXPECT_FALSE(continuar->isVisible());
}

// The command line goes on with the window's stopped run when the job gives the same working
// copies again, and reprints from a folio of it; other inputs, a folio not in the run, or a
// reprint that would leave notes never printed behind are refused and print nothing.
TEST_F(VistaYContinuacion, LaConsolaContinuaYReimprimeDesdeUnFolio) {
    {
        frmRemisTyP ventana;
        ASSERT_TRUE(ActivaVentana(&ventana));
        aplicaTope(ventana);
        imprimeYCancelaTras(ventana, 1);
    }
    const QString pdf = carpeta.ruta(QStringLiteral("consola"));
    const QStringList continuar = {QStringLiteral("--continuar")};
    const struct {
        const char* folio;
        QStringList opciones;
        int codigo;
        const char* dice;
        int archivos; // PDFs in the folder afterwards
    } pasos[] = {
        {"1600", continuar, 2, "ya no son las que se imprimían", 0},
        {"1500",
         {QStringLiteral("--desde-remision"), QStringLiteral("9999")},
         2,
         "no está entre las 3",
         0},
        {"1500",
         {QStringLiteral("--desde-remision"), QStringLiteral("A 1502")},
         2,
         "--omitir-pendientes",
         0},
        {"1500", continuar, 0, "Remisiones impresas: 2", 2},
        {"1500", continuar, 2, "No hay remisiones que continuar", 2},
        {"1500",
         {QStringLiteral("--desde-remision"), QStringLiteral("1502")},
         0,
         "1 ya se había impreso",
         2},
    };
    for (const auto& p : pasos) {
        SCOPED_TRACE(p.dice);
        const Salida s = topeEnConsola(QString::fromLatin1(p.folio), pdf, p.opciones);
        EXPECT_EQ(s.codigo, p.codigo) << qPrintable(s.errores);
        EXPECT_TRUE((s.salida + s.errores).contains(QString::fromUtf8(p.dice)))
            << qPrintable(s.salida + s.errores);
        EXPECT_EQ(QDir(pdf).entryList({QStringLiteral("*.pdf")}).size(), p.archivos);
    }
    const QStringList escritos = QDir(pdf).entryList({QStringLiteral("*.pdf")});
    ASSERT_EQ(escritos.size(), 2);
    EXPECT_TRUE(PaginasDePdf(QDir(pdf).filePath(escritos[0]))
                    .join(QString())
                    .contains(QStringLiteral("A 1501")));
    EXPECT_TRUE(
        bitacora().last().contains(QStringLiteral("reimprime desde la remisión 3 de 3 (folio A "
                                                  "1502) hasta la 3 (folio A 1502)")));
}

// The percentage window previews its copies and offers to go on the same way.
TEST_F(VistaYContinuacion, PorcentajeTieneVistaPreviaYContinuacion) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "501", "503", "A", "15");
    EXPECT_FALSE(Control<QPushButton>(ventana, "cmdVistaPrevia")->isEnabled());
    pulsa(ventana, "Command2");
    EXPECT_EQ(vistaPrevia(ventana, 0.5).size(), 3);
    EXPECT_TRUE(Nuevos().isEmpty());
    imprimeYCancelaTras(ventana, 2);
    auto* continuar = Control<QPushButton>(ventana, "cmdContinuar");
    ASSERT_TRUE(continuar->isVisible());
    EXPECT_EQ(continuar->text(), QStringLiteral("Continuar desde la re&misión 3 (folio A 503)"));
    dialogos.responde(true);
    pulsa(ventana, "cmdContinuar");
    ASSERT_EQ(Nuevos().size(), 3);
    EXPECT_TRUE(PaginasDePdf(Nuevos().last()).join(QString()).contains(QStringLiteral("503")));
}

} // namespace
