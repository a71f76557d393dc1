#include "apoyo/CupsDePrueba.h"
#include "apoyo/Espera.h"
#include "reporteador/ColaDeCups.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

namespace {

// A one-page document handed to the queue as the engine hands a note: a QPrinter on it, then
// what CUPS made of it.
ColaDeCups::Entrega entrega(const QString& cola, const QString& titulo) {
    QPrinter impresora(QPrinterInfo::printerInfo(cola));
    impresora.setDocName(titulo);
    EXPECT_EQ(impresora.outputFormat(), QPrinter::NativeFormat);
    const ColaDeCups revision(impresora.printerName());
    QPainter pintor;
    EXPECT_TRUE(pintor.begin(&impresora)) << qPrintable(cola);
    pintor.drawText(100, 100, titulo);
    EXPECT_TRUE(pintor.end());
    return revision.Entregado(titulo);
}

QString imprime(const QString& cola, const QString& titulo) {
    return entrega(cola, titulo).rechazo;
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
        EXPECT_EQ(ColaDeCups::Impreso(c.estado), c.estado == 9) << c.estado;
        EXPECT_EQ(ColaDeCups::Fallido(c.estado), !c.aceptado) << c.estado;
        EXPECT_EQ(ColaDeCups::NombreDelEstado(c.estado), QString::fromUtf8(c.nombre)) << c.estado;
    }
}

// A real scheduler: a document counts only when the queue took it; a queue that rejects jobs
// says so, with its name and CUPS's words; a stopped queue keeps the document waiting.
TEST(ColaDeCups, UnaColaRealDiceSiTomoElDocumento) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ASSERT_TRUE(cups.AgregaCola(QStringLiteral("Remisiones")));

    const ColaDeCups::Entrega primera =
        entrega(QStringLiteral("Remisiones"), QStringLiteral("A-501"));
    EXPECT_EQ(primera.rechazo, QString());
    ASSERT_GT(primera.trabajo, 0);
    // Once CUPS completed it, the same title sent again within the second never reaches the
    // queue: the earlier job is not taken for it.
    ASSERT_TRUE(EsperaHasta(
        [&] {
            return ColaDeCups::Impreso(
                ColaDeCups::EstadosDeTrabajos(QStringLiteral("Remisiones")).value(primera.trabajo));
        },
        10000));
    const ColaDeCups otra(QStringLiteral("Remisiones"));
    const ColaDeCups::Entrega perdida = otra.Entregado(QStringLiteral("A-501"));
    EXPECT_EQ(perdida.trabajo, 0);
    EXPECT_TRUE(
        perdida.rechazo.contains(QStringLiteral("no tiene el trabajo del documento «A-501»")))
        << qPrintable(perdida.rechazo);

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
    EXPECT_EQ(revision.Entregado(QStringLiteral("A-602")).rechazo, QString());
    ASSERT_TRUE(
        cups.Orden(QStringLiteral("cancel"), {QStringLiteral("-a"), QStringLiteral("Retiene")}));
    const ColaDeCups::Entrega cancelada = revision.Entregado(QStringLiteral("A-602"));
    EXPECT_EQ(cancelada.trabajo, 2);
    EXPECT_TRUE(ColaDeCups::Fallido(cancelada.estado));
    // The reasons CUPS gives depend on how far it got with the job; those it names are said in
    // Spanish, with CUPS's own words after them.
    EXPECT_TRUE(cancelada.rechazo.startsWith(QStringLiteral(
        "La cola «Retiene» no imprimió el documento: CUPS dejó su trabajo 2 como cancelado")))
        << qPrintable(cancelada.rechazo);
    EXPECT_TRUE(cancelada.rechazo.endsWith(QStringLiteral(")."))) << qPrintable(cancelada.rechazo);
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
