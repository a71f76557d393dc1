#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/CupsDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "impresion/LibroDeImpresion.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Proceso.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

constexpr int kNotas = 12;

// Where a scenario's runs print: a PDF per note, one PDF for the run, or a CUPS queue that
// prints, one whose filter fails, or one that is stopped.
enum class Salida { PdfPorNota, PdfUnico, Cola, ColaQueFalla, ColaDetenida };

// When a run is killed, as a power cut or a closed session would: never (it runs to its end),
// once n notes of the run are printed, while a note is being sent (the ledger has it sent), or
// while the run's one PDF is being finished (every note sent into it).
enum class Muerte { Ninguna, TrasImpresas, ConUnaEnviada, AlTerminarElPdf };

struct Paso {
    QStringList opciones; // beyond --imprimir and the target
    Muerte muerte = Muerte::Ninguna;
    int impresas = 0; // for TrasImpresas
    int codigo = 0;   // the exit code expected when it runs to its end
    // Another file put at the one PDF's name an instant before the run starts.
    bool otroArchivoAntes = false;
};

const QByteArray kOtroPdf = "%PDF-1.4 de otra corrida\n%%EOF\n";

struct Escenario {
    const char* nombre;
    Salida salida;
    QVector<Paso> pasos;
    // How many times each note (folio 501 on) must come out across all the runs.
    QVector<int> veces;
};

QVector<int> todasUnaVez() {
    return QVector<int>(kNotas, 1);
}

// A reprint from the note at index k of a finished run: notes k… come out twice.
QVector<int> dosVecesDesde(int k) {
    QVector<int> veces = todasUnaVez();
    for (int i = k; i < kNotas; ++i) {
        veces[i] = 2;
    }
    return veces;
}

const QStringList kContinuar = {QStringLiteral("--continuar")};

class LibroDeImpresionEnConsola : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        ArchivoIni(Proceso::actual().stArchivoIni)
            .escribe(QStringLiteral("Configuración"), QStringLiteral("Espera de la impresora"),
                     QStringLiteral("20"));
        QVector<NotaDePrueba> notas;
        for (int i = 0; i < kNotas; ++i) {
            notas.append({20 + i, QDate(2026, 11, 2 + i % 2), 100.0 + i, 16, 0, QStringLiteral("A"),
                          501 + i});
        }
        AgregaNotas(base, notas);
    }

    QString pdfs() const { return carpeta.ruta(QStringLiteral("pdfs")); }
    QString pdfUnico() const { return carpeta.ruta(QStringLiteral("corrida.pdf")); }

    QStringList argumentos(Salida salida, const QStringList& opciones) const {
        QStringList a = {QStringLiteral("porcentaje"),  QStringLiteral("--inicial"),
                         QStringLiteral("501"),         QStringLiteral("--final"),
                         QString::number(500 + kNotas), QStringLiteral("--porcentaje"),
                         QStringLiteral("10"),          QStringLiteral("--serie"),
                         QStringLiteral("A"),           QStringLiteral("--imprimir")};
        if (salida == Salida::PdfPorNota) {
            a << QStringLiteral("--pdf") << pdfs();
        } else if (salida == Salida::PdfUnico) {
            a << QStringLiteral("--pdf-unico") << pdfUnico();
        }
        return a + opciones;
    }

    // The ledger's last run of the job, as another process reads it while the run writes it.
    static std::optional<CorridaDelLibro> ultima() {
        return LibroDeImpresion().Ultima(QStringLiteral("porcentaje"));
    }

    static bool llegoA(const Paso& paso, qint64 corridaAntes) {
        const std::optional<CorridaDelLibro> c = ultima();
        if (!c || (paso.opciones.isEmpty() && c->id == corridaAntes)) {
            return false;
        }
        const int enviadas = c->Cuenta(EstadoDeNota::Enviada);
        switch (paso.muerte) {
        case Muerte::TrasImpresas:
            return c->Cuenta(EstadoDeNota::Impresa) >= paso.impresas;
        case Muerte::ConUnaEnviada:
            return enviadas == 1 && c->Cuenta(EstadoDeNota::Impresa) >= 2;
        case Muerte::AlTerminarElPdf:
            return enviadas == kNotas;
        default:
            return false;
        }
    }

    // Runs one step; a step with a death is killed as soon as the run reaches it.
    void corre(Salida salida, const Paso& paso, int n) {
        const std::optional<CorridaDelLibro> antes = ultima();
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), argumentos(salida, paso.opciones));
        ASSERT_TRUE(programa.waitForStarted());
        const auto pid = static_cast<pid_t>(programa.processId());
        if (paso.muerte == Muerte::Ninguna) {
            ASSERT_TRUE(programa.waitForFinished(120000));
            EXPECT_EQ(programa.exitCode(), paso.codigo)
                << "paso " << n << ": " << programa.readAllStandardError().toStdString();
            return;
        }
        const bool llego = EsperaHasta(
            [&] {
                return programa.state() != QProcess::Running || llegoA(paso, antes ? antes->id : 0);
            },
            60000);
        if (programa.state() == QProcess::Running && pid > 0) {
            ::kill(pid, SIGKILL);
        }
        programa.waitForFinished(10000);
        EXPECT_TRUE(llego) << "paso " << n;
        EXPECT_EQ(programa.exitStatus(), QProcess::CrashExit)
            << "paso " << n
            << " terminó antes de matarlo: " << programa.readAllStandardError().toStdString();
    }

    // The PDFs there are now, with the time each was last written.
    QHash<QString, QDateTime> escritos(Salida salida) const {
        QHash<QString, QDateTime> archivos;
        const QFileInfoList lista =
            salida == Salida::PdfUnico
                ? QFileInfoList{QFileInfo(pdfUnico())}
                : QDir(pdfs()).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files);
        for (const QFileInfo& f : lista) {
            if (f.exists()) {
                archivos.insert(f.filePath(), f.lastModified());
            }
        }
        return archivos;
    }

    // Adds the notes that came out in the PDFs written since antes: each page counts for the
    // notes whose folio it carries.
    void cuentaNuevas(const QHash<QString, QDateTime>& antes,
                      const QHash<QString, QDateTime>& ahora, QVector<int>& veces) const {
        static const QRegularExpression folio(QStringLiteral("\\bA (5\\d\\d)\\b"));
        for (auto f = ahora.begin(); f != ahora.end(); ++f) {
            if (antes.value(f.key()) == f.value()) {
                continue;
            }
            for (const QString& pagina : PaginasDePdf(f.key())) {
                QSet<int> enLaPagina;
                for (const auto& m : folio.globalMatch(pagina)) {
                    enLaPagina.insert(m.captured(1).toInt() - 501);
                }
                for (int i : std::as_const(enLaPagina)) {
                    if (i >= 0 && i < kNotas) {
                        ++veces[i];
                    }
                }
            }
        }
    }
};

// Kills at several points and goes on: every note of the run comes out exactly once across all
// the runs, also when the going-on is killed again; a reprint from a note of a finished run
// prints exactly that note and the rest; leaving out notes that never printed needs a flag.
TEST_F(LibroDeImpresionEnConsola, CadaRemisionSaleUnaVezTrasCualquierMuerte) {
    const Escenario escenarios[] = {
        {"entre dos remisiones",
         Salida::PdfPorNota,
         {{{}, Muerte::TrasImpresas, 4}, {kContinuar}},
         todasUnaVez()},
        {"mientras se escribe una remisión",
         Salida::PdfPorNota,
         {{{}, Muerte::ConUnaEnviada}, {kContinuar}},
         todasUnaVez()},
        {"y otra vez al continuar",
         Salida::PdfPorNota,
         {{{}, Muerte::TrasImpresas, 3},
          {kContinuar, Muerte::TrasImpresas, 7},
          {kContinuar},
          {kContinuar, Muerte::Ninguna, 0, 2}},
         todasUnaVez()},
        {"mientras se termina el PDF único",
         Salida::PdfUnico,
         {{{}, Muerte::AlTerminarElPdf}, {kContinuar, Muerte::Ninguna, 0, -1}},
         todasUnaVez()},
        {"con otro PDF puesto en su lugar un instante antes",
         Salida::PdfUnico,
         {{{}, Muerte::AlTerminarElPdf, 0, 0, true}, {kContinuar, Muerte::Ninguna, 0, -1}},
         todasUnaVez()},
        {"reimpresión desde la remisión 8",
         Salida::PdfPorNota,
         {{}, {{QStringLiteral("--desde-remision"), QStringLiteral("508")}}},
         dosVecesDesde(7)},
        {"reimpresión que deja sin imprimir las anteriores",
         Salida::PdfPorNota,
         {{{}, Muerte::TrasImpresas, 3},
          {{QStringLiteral("--desde-remision"), QStringLiteral("A 509")}, Muerte::Ninguna, 0, 2},
          {{QStringLiteral("--desde-remision"), QStringLiteral("A 509"),
            QStringLiteral("--omitir-pendientes")}},
          {kContinuar}},
         todasUnaVez()},
    };
    for (const Escenario& e : escenarios) {
        SCOPED_TRACE(e.nombre);
        QDir(pdfs()).removeRecursively();
        QFile::remove(pdfUnico());
        QVector<int> veces(kNotas, 0);
        for (int n = 0; n < e.pasos.size(); ++n) {
            Paso paso = e.pasos[n];
            if (paso.otroArchivoAntes) {
                CarpetaDePrueba::escribe(pdfUnico(), kOtroPdf);
            }
            // A one-PDF run killed while finishing left its file whole (nothing is left to go
            // on with) or left none of its own (all of it prints again).
            if (paso.codigo < 0) {
                paso.codigo =
                    QFile::exists(pdfUnico()) && CarpetaDePrueba::lee(pdfUnico()) != kOtroPdf ? 2
                                                                                              : 0;
            }
            const QHash<QString, QDateTime> antes = escritos(e.salida);
            corre(e.salida, paso, n);
            cuentaNuevas(antes, escritos(e.salida), veces);
        }
        EXPECT_EQ(veces, e.veces);
        // A note printed again replaces its file: no copies beside it.
        if (e.salida == Salida::PdfPorNota) {
            EXPECT_EQ(escritos(e.salida).size(), kNotas);
        }
        const std::optional<CorridaDelLibro> c = ultima();
        ASSERT_TRUE(c);
        EXPECT_EQ(c->Cuenta(EstadoDeNota::Impresa), kNotas);
    }
}

// A real CUPS queue: the counts the run gives are the ones CUPS reports, and the command line
// exits 0 only when every note printed.
TEST_F(LibroDeImpresionEnConsola, LasCuentasSonLasDeCups) {
    CupsDePrueba cups;
    ASSERT_TRUE(cups.enMarcha());
    ArchivoIni(QDir(carpeta.ruta(QStringLiteral("host"))).filePath(QStringLiteral("Orvane.ini")))
        .escribe(QStringLiteral("Impresión de formatos"), QStringLiteral("fmtremision.rpt"),
                 QStringLiteral("Remisiones"));
    const struct {
        const char* nombre;
        Salida salida;
        int codigo;
        const char* dice;
    } casos[] = {
        {"una cola que imprime", Salida::Cola, 0, "Remisiones impresas: 12"},
        {"un filtro que falla", Salida::ColaQueFalla, 1, "Con error: A 501"},
        {"una cola detenida", Salida::ColaDetenida, 1,
         "en la cola 12 (la impresora «Remisiones» está detenida"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        cups.Orden(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QStringLiteral("Remisiones")});
        ASSERT_TRUE(c.salida == Salida::ColaQueFalla
                        ? cups.AgregaColaQueFalla(QStringLiteral("Remisiones"))
                        : cups.AgregaCola(QStringLiteral("Remisiones")));
        if (c.salida == Salida::ColaDetenida) {
            ASSERT_TRUE(cups.Orden(QStringLiteral("cupsdisable"), {QStringLiteral("Remisiones")}));
        }
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), argumentos(c.salida, {}));
        ASSERT_TRUE(programa.waitForFinished(120000));
        const QString salida =
            QString::fromUtf8(programa.readAllStandardOutput() + programa.readAllStandardError());
        EXPECT_EQ(programa.exitCode(), c.codigo) << qPrintable(salida);
        EXPECT_TRUE(salida.contains(QString::fromUtf8(c.dice))) << qPrintable(salida);
        const std::optional<CorridaDelLibro> corrida = ultima();
        ASSERT_TRUE(corrida);
        const CupsDePrueba::Cuentas deCups = cups.CuentasDe(QStringLiteral("Remisiones"));
        EXPECT_EQ(corrida->Cuenta(EstadoDeNota::Impresa), deCups.terminados);
        EXPECT_EQ(corrida->Cuenta(EstadoDeNota::EnCola), deCups.esperando);
        EXPECT_EQ(corrida->Cuenta(EstadoDeNota::Fallida), deCups.fallidos);
        EXPECT_EQ(corrida->Cuenta(EstadoDeNota::Fallida) + corrida->Cuenta(EstadoDeNota::Impresa) +
                      corrida->Cuenta(EstadoDeNota::EnCola) +
                      corrida->Cuenta(EstadoDeNota::Pendiente),
                  kNotas);
        cups.Orden(QStringLiteral("cancel"), {QStringLiteral("-a"), QStringLiteral("-x")});
    }
}

} // namespace
