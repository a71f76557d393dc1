#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "tienda/TablasDeTrabajo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>

namespace {

// The page count pdfinfo reads in a PDF; -1 when it cannot read it.
int paginasSegunPdfinfo(const QString& ruta) {
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {ruta});
    pdfinfo.waitForFinished(30000);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                           QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return pdfinfo.exitCode() == 0 && m.hasMatch() ? m.captured(1).toInt() : -1;
}

// What `qpdf --check` says of a PDF: its exit code and its output.
QPair<int, QString> revisionDeQpdf(const QString& ruta) {
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), ruta});
    qpdf.waitForFinished(30000);
    return {qpdf.exitCode(), QString::fromUtf8(qpdf.readAll())};
}

// The top-level bookmarks of a PDF as "title → page (from 1)", read back with libqpdf.
QStringList marcadoresDe(const QString& ruta) {
    QPDF pdf;
    pdf.processFile(QFile::encodeName(ruta).constData());
    QPDFOutlineDocumentHelper indice(pdf);
    QStringList marcadores;
    for (QPDFOutlineObjectHelper& m : indice.getTopLevelOutlines()) {
        QPDFObjectHandle pagina = m.getDestPage();
        marcadores << QStringLiteral("%1 → %2")
                          .arg(QString::fromStdString(m.getTitle()))
                          .arg(pagina.isNull() ? 0 : pdf.findPage(pagina) + 1);
    }
    return marcadores;
}

// A run of four notes in the working tables, the third of two sheets (12 lines at 10 a sheet).
class CorridaEnUnPdf : public TiendaQueImprime {
protected:
    QString carpetaUnica = carpeta.ruta(QStringLiteral("unico"));
    QString unico = QDir(carpetaUnica).filePath(QStringLiteral("corrida.pdf"));

    void SetUp() override {
        TiendaQueImprime::SetUp();
        TablasDeTrabajo::Crea(base.conexion());
        const QDate dia(2026, 12, 2);
        const QVector<PartidaDePrueba> doce(12, PartidaDePrueba{2, 50, 16});
        AgregaNotas(base, {{1, dia, 100, 16, 0, QStringLiteral("A"), 1501},
                           {2, dia, 250, 40, 0, QStringLiteral("A"), 1502},
                           {3, dia, 1200, 192, 0, QStringLiteral("B"), 1503, 0, doce},
                           {4, dia, 75.5, 12.08, 0, QStringLiteral("A"), 1504}});
        for (int id = 1; id <= 4; ++id) {
            CopiaATrabajo(base, id);
        }
        QDir().mkpath(carpetaUnica);
    }

    void TearDown() override { rpt.crpReport.DirigeAPdf(carpeta.ruta(QStringLiteral("pdf"))); }

    // The files in the one-PDF folder, scratch files included.
    QStringList enLaCarpeta() const {
        return QDir(carpetaUnica).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(CorridaEnUnPdf, LasPaginasSonLasDeCadaRemisionEnOrden) {
    ASSERT_TRUE(ImpresionDeRemisiones(base.conexion()).Imprime().Completa());
    const QStringList porNota = Nuevos();
    ASSERT_EQ(porNota.size(), 4);
    QStringList esperadas;
    for (const QString& pdf : porNota) {
        esperadas << PaginasDePdf(pdf);
    }
    ASSERT_EQ(esperadas.size(), 5);

    rpt.crpReport.DirigeAPdfUnico(unico);
    const ResultadoDeImpresion r = ImpresionDeRemisiones(base.conexion()).Imprime();
    EXPECT_TRUE(r.Completa()) << r.Mensaje().toStdString();
    EXPECT_EQ(r.impresas, 4);
    EXPECT_EQ(Nuevos().mid(4), QStringList{unico});
    EXPECT_EQ(enLaCarpeta(), QStringList{QStringLiteral("corrida.pdf")});
    EXPECT_EQ(paginasSegunPdfinfo(unico), 5);
    const QStringList paginas = PaginasDePdf(unico);
    EXPECT_EQ(paginas, esperadas);
    // The notes in Id order, each with its own figures.
    ASSERT_EQ(paginas.size(), 5);
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("1501")));
    EXPECT_TRUE(paginas[1].contains(QStringLiteral("1502")));
    EXPECT_TRUE(paginas[2].contains(QStringLiteral("1503")));
    EXPECT_TRUE(paginas[3].contains(QStringLiteral("1503")));
    EXPECT_TRUE(paginas[4].contains(QStringLiteral("87.58")));
    EXPECT_TRUE(CarpetaDePrueba::lee(unico).trimmed().endsWith("%%EOF"));
}

// Each note is a bookmark named by its series and folio at its first page; the file checks
// clean with qpdf and its text still reads.
TEST_F(CorridaEnUnPdf, CadaRemisionEsUnMarcadorEnSuPrimeraPagina) {
    rpt.crpReport.DirigeAPdfUnico(unico);
    ASSERT_TRUE(ImpresionDeRemisiones(base.conexion()).Imprime().Completa());
    const QPair<int, QString> revision = revisionDeQpdf(unico);
    EXPECT_EQ(revision.first, 0) << qPrintable(revision.second);
    EXPECT_TRUE(revision.second.contains(QStringLiteral("No syntax or stream encoding errors")))
        << qPrintable(revision.second);
    EXPECT_EQ(marcadoresDe(unico),
              QStringList({QStringLiteral("A 1501 → 1"), QStringLiteral("A 1502 → 2"),
                           QStringLiteral("B 1503 → 3"), QStringLiteral("A 1504 → 5")}));
    EXPECT_EQ(PaginasDePdf(unico).size(), 5);
    EXPECT_TRUE(PaginasDePdf(unico)[3].contains(QStringLiteral("1503")));
    EXPECT_EQ(enLaCarpeta(), QStringList{QStringLiteral("corrida.pdf")});
}

// A run that stops or is cancelled before its last note leaves no file under the name, and an
// older file of that name stays byte for byte.
TEST_F(CorridaEnUnPdf, UnaCorridaQueNoTerminaNoDejaArchivo) {
    const QByteArray anterior = "%PDF-1.4 de la corrida de ayer\n%%EOF\n";
    CarpetaDePrueba::escribe(unico, anterior);
    rpt.crpReport.DirigeAPdfUnico(unico);

    ImpresionDeRemisiones cancelada(base.conexion());
    const ResultadoDeImpresion c = cancelada.Imprime([&](int numero, int, const QString&) {
        if (numero == 3) {
            cancelada.Cancela();
        }
    });
    EXPECT_FALSE(c.Completa());
    EXPECT_EQ(c.impresas, 0);
    EXPECT_EQ(c.Mensaje(),
              QStringLiteral("Impresión cancelada. Se imprimieron 0 de 4 remisiones."));

    // The third note has a size-variant line whose rows the server refuses to delete once the
    // note is painted: the run stops there.
    base.ejecuta(QStringLiteral("CREATE TRIGGER sin_borrar BEFORE DELETE ON partidatallaocolor "
                                "FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
                                "'borrado rechazado'"));
    base.ejecuta(
        QStringLiteral("UPDATE tmpremisionesdetalle SET IdExterna='RE000000003001' WHERE Id=3"));
    base.ejecuta(QStringLiteral("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) "
                                "VALUES ('RE000000003001', 'T-CH', 2)"));
    const ResultadoDeImpresion f = ImpresionDeRemisiones(base.conexion()).Imprime();
    EXPECT_TRUE(f.Fallo());
    EXPECT_EQ(f.impresas, 0);
    EXPECT_FALSE(f.fallidaImpresa);
    EXPECT_TRUE(f.error.contains(QStringLiteral("borrado rechazado"))) << f.error.toStdString();

    EXPECT_EQ(enLaCarpeta(), QStringList{QStringLiteral("corrida.pdf")});
    EXPECT_EQ(CarpetaDePrueba::lee(unico), anterior);
    EXPECT_TRUE(Nuevos().isEmpty());
}

} // namespace
