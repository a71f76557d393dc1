#include "apoyo/CupsDePrueba.h"
#include "reporteador/ColaDeCups.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

namespace {

// A one-page document handed to the queue as the engine hands a note: a QPrinter on it, then
// what CUPS made of it.
QString imprime(const QString& cola, const QString& titulo) {
    QPrinter impresora(QPrinterInfo::printerInfo(cola));
    impresora.setDocName(titulo);
    EXPECT_EQ(impresora.outputFormat(), QPrinter::NativeFormat);
    const ColaDeCups revision(impresora.printerName());
    QPainter pintor;
    EXPECT_TRUE(pintor.begin(&impresora)) << qPrintable(cola);
    pintor.drawText(100, 100, titulo);
    EXPECT_TRUE(pintor.end());
    return revision.Rechazo(titulo);
}

TEST(ColaDeCups, EstadosDeTrabajoQueCuentanComoImpresos) {
    const struct {
        int estado;
        bool aceptado;
        const char* nombre;
    } casos[] = {
        {3, true, "pendiente"}, {4, true, "retenido"},   {5, true, "imprimiéndose"},
        {6, false, "detenido"}, {7, false, "cancelado"}, {8, false, "abortado"},
        {9, true, "terminado"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ColaDeCups::Aceptado(c.estado), c.aceptado) << c.estado;
        EXPECT_EQ(ColaDeCups::NombreDelEstado(c.estado), QString::fromUtf8(c.nombre)) << c.estado;
    }
}

// A real scheduler: a document counts only when the queue took it; a queue that rejects jobs
// says so, with its name and CUPS's words; a stopped queue keeps the document waiting.
TEST(ColaDeCups, UnaColaRealDiceSiTomoElDocumento) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Remisiones")));

    EXPECT_EQ(imprime(QStringLiteral("Remisiones"), QStringLiteral("A-501")), QString());

    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsreject"), {QStringLiteral("Remisiones")}));
    const QString rechazo = imprime(QStringLiteral("Remisiones"), QStringLiteral("A-502"));
    EXPECT_TRUE(rechazo.contains(QStringLiteral("La cola «Remisiones» de CUPS no tomó")))
        << qPrintable(rechazo);
    EXPECT_TRUE(rechazo.contains(QStringLiteral("server-error-not-accepting-jobs")))
        << qPrintable(rechazo);
    EXPECT_TRUE(rechazo.contains(QStringLiteral("sudo cupsaccept Remisiones")))
        << qPrintable(rechazo);

    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsaccept"), {QStringLiteral("Remisiones")}));
    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsdisable"), {QStringLiteral("Remisiones")}));
    EXPECT_EQ(imprime(QStringLiteral("Remisiones"), QStringLiteral("A-503")), QString());
}

// Held jobs count; a job cancelled before it printed does not, and CUPS's reasons are said.
TEST(ColaDeCups, TrabajoRetenidoCuentaYTrabajoCanceladoNo) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Retiene")));
    ASSERT_TRUE(cups.Orden(QStringLiteral("lpadmin"),
                           {QStringLiteral("-p"), QStringLiteral("Retiene"), QStringLiteral("-o"),
                            QStringLiteral("job-hold-until-default=indefinite")}));
    EXPECT_EQ(imprime(QStringLiteral("Retiene"), QStringLiteral("A-601")), QString());

    const ColaDeCups revision(QStringLiteral("Retiene"));
    ASSERT_TRUE(cups.Orden(QStringLiteral("lp"),
                           {QStringLiteral("-d"), QStringLiteral("Retiene"), QStringLiteral("-t"),
                            QStringLiteral("A-602"),
                            QStringLiteral(DEREMISIONES_FIXTURES "/host_schema.sql")}));
    EXPECT_EQ(revision.Rechazo(QStringLiteral("A-602")), QString());
    ASSERT_TRUE(
        cups.Orden(QStringLiteral("cancel"), {QStringLiteral("-a"), QStringLiteral("Retiene")}));
    const QString rechazo = revision.Rechazo(QStringLiteral("A-602"));
    // The reasons CUPS gives depend on how far it got with the job.
    EXPECT_TRUE(rechazo.startsWith(QStringLiteral("CUPS dejó el documento en la cola «Retiene» "
                                                  "como cancelado (trabajo 2, ")))
        << qPrintable(rechazo);
    EXPECT_TRUE(rechazo.endsWith(QStringLiteral("): no se imprimió."))) << qPrintable(rechazo);
}

TEST(ColaDeCups, EstadoDeLaColaYDelServicio) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Lista")));
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Rechaza")));
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Detenida")));
    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsreject"), {QStringLiteral("Rechaza")}));
    ASSERT_TRUE(cups.Orden(QStringLiteral("cupsdisable"), {QStringLiteral("Detenida")}));
    const struct {
        const char* cola;
        bool existe, acepta, detenida;
    } casos[] = {
        {"Lista", true, true, false},
        {"Rechaza", true, false, false},
        {"Detenida", true, true, true},
        {"NoHay", false, false, false},
    };
    for (const auto& c : casos) {
        const ColaDeCups::Estado e = ColaDeCups::EstadoDe(QString::fromLatin1(c.cola));
        EXPECT_TRUE(e.servicio) << c.cola;
        EXPECT_EQ(e.existe, c.existe) << c.cola;
        EXPECT_EQ(e.aceptaTrabajos, c.acepta) << c.cola;
        EXPECT_EQ(e.detenida, c.detenida) << c.cola;
    }
    cups.Detiene();
    EXPECT_FALSE(ColaDeCups::ServicioResponde());
    const ColaDeCups::Estado sinServicio = ColaDeCups::EstadoDe(QStringLiteral("Lista"));
    EXPECT_FALSE(sinServicio.servicio);
    EXPECT_FALSE(sinServicio.existe);
}

} // namespace
