#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/ParadaDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/ResultadoDeImpresion.h"
#include "impresion/SeguimientoDeNotas.h"
#include "orvlib/CamposBin.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/TablasDeTrabajo.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A print run as a whole: its template checked before the first note, its preparations made
// once and left nowhere, and notes that came out counted whatever fails after them.
class CorridaDeImpresion : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        TablasDeTrabajo::Crea(base.conexion());
        for (int id = 1; id <= 3; ++id) {
            AgregaNotas(base, {{id, QDate(2026, 12, 2), 100, 0, 0, QStringLiteral("A"), id}});
            CopiaATrabajo(base, id);
        }
    }

    void guardaBytes(const QByteArray& bytes) {
        CamposBin campos;
        campos.BaseDD = &base.conexion();
        campos.GuardaRPT(ImpresionDeRemisiones::Plantilla(), bytes);
    }

    // The files the run left in the process's scratch folder, beside the folder's own lock.
    static QStringList restos() {
        QStringList archivos = QDir(TemporalDelProceso::Carpeta()).entryList(QDir::Files);
        archivos.removeAll(QStringLiteral("en-uso.lock"));
        return archivos;
    }
};

struct PlantillaDanada {
    const char* caso;
    std::function<QByteArray(const QByteArray&, const QString&)> dana;
    const char* dice;
};

TEST_F(CorridaDeImpresion, UnaPlantillaDanadaDetieneLaCorridaAntesDeLaPrimeraRemision) {
    const QString fuente = TextoDePlantilla("fmtRemision.rpt.fuente");
    const QList<PlantillaDanada> casos = {
        {"cortada", [](const QByteArray& b, const QString&) { return b.left(b.size() * 2 / 3); },
         "está dañada"},
        {"un byte cambiado",
         [](QByteArray b, const QString&) {
             b[b.size() - 20] = b[b.size() - 20] == 'x' ? 'y' : 'x';
             return b;
         },
         "suma de verificación"},
        {"campo que no existe",
         [](const QByteArray&, const QString& f) {
             return ArchivoDePlantilla::Construye(
                 QString(f).replace(QStringLiteral("\"{remisiones.Subtotal}\""),
                                    QStringLiteral("\"{remisiones.SubtotalQueNoExiste}\"")));
         },
         "SubtotalQueNoExiste no existe en la tabla remisiones"},
        // A byte of a table's name among the entries scanned to point the tables at their data.
        {"una tabla cambiada en el encabezado",
         [](QByteArray b, const QString&) {
             b[b.indexOf("remisionesdetalle") + 4] = 'X';
             return b;
         },
         "La plantilla está dañada: su encabezado (la lista de tablas y fórmulas) no corresponde "
         "con su texto. Vuelva a guardarla con «plantillas guarda»."},
    };
    const QByteArray sana = ArchivoDePlantilla::Construye(fuente);
    for (const PlantillaDanada& c : casos) {
        guardaBytes(c.dana(sana, fuente));
        const ResultadoDeImpresion r = ImpresionDeRemisiones(base.conexion()).Imprime();
        EXPECT_TRUE(r.Fallo()) << c.caso;
        EXPECT_EQ(r.impresas, 0) << c.caso;
        EXPECT_EQ(r.total, 3) << c.caso;
        EXPECT_TRUE(r.Mensaje().startsWith(QStringLiteral("La impresión no pudo comenzar")))
            << c.caso;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.dice)))
            << c.caso << " " << r.error.toStdString();
        EXPECT_TRUE(Nuevos().isEmpty()) << c.caso;
        EXPECT_TRUE(restos().isEmpty()) << c.caso << " " << restos().join(' ').toStdString();
    }
}

// A stored image or auxiliary file that cannot be read stops the run before its first note,
// naming the file and how to store it again.
TEST_F(CorridaDeImpresion, UnaImagenOUnAuxiliarDanadosDetienenLaCorridaYDicenQueHacer) {
    const struct {
        const char* archivo;
        const char* dice;
    } casos[] = {
        {"logo.png", "La imagen logo.png guardada en reportesbin está dañada y no se puede leer"},
        {"Auxiliar.MDB", "El archivo auxiliar Auxiliar.MDB guardado en reportesbin está dañado"},
    };
    GuardaLogo(base);
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    const QString carpeta = QDir(TemporalDelProceso::Carpeta()).filePath(QStringLiteral("sanos"));
    QDir().mkpath(carpeta);
    for (const auto& c : casos) {
        const QString nombre = QString::fromLatin1(c.archivo);
        campos.ExtraeRPT(nombre, carpeta);
        const QByteArray sano = CarpetaDePrueba::lee(QDir(carpeta).filePath(nombre));
        ASSERT_GT(sano.size(), 100) << c.archivo;
        campos.GuardaRPT(nombre, sano.left(sano.size() / 2));
        const ResultadoDeImpresion r = ImpresionDeRemisiones(base.conexion()).Imprime();
        campos.GuardaRPT(nombre, sano);
        EXPECT_EQ(r.impresas, 0) << c.archivo;
        EXPECT_TRUE(r.Fallo()) << c.archivo;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.dice)))
            << c.archivo << " " << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QStringLiteral("«plantillas guarda"))) << c.archivo;
        EXPECT_TRUE(Nuevos().isEmpty()) << c.archivo;
    }
    QDir(carpeta).removeRecursively();
    EXPECT_EQ(ImpresionDeRemisiones(base.conexion()).Imprime().impresas, 3);
}

TEST_F(CorridaDeImpresion, UnaConexionParaLaCorridaYNoUnaPorRemision) {
    // An account with two connections at most is enough for a run: its own and its data
    // source's; one more for each note would be refused. With one, the run says why it cannot
    // start.
    base.ejecuta(QStringLiteral("CREATE USER IF NOT EXISTS 'corrida'@'%' IDENTIFIED BY ''"));
    base.ejecuta(QStringLiteral("GRANT ALL ON `%1`.* TO 'corrida'@'%'").arg(base.nombre()));
    BasesDD& b = base.bases();
    const QString usuario = b.cUsuario;
    const QString contrasena = b.cPassword;
    b.cUsuario = QStringLiteral("corrida");
    b.cPassword.clear();
    const struct {
        int conexiones;
        int impresas;
        const char* error;
    } casos[] = {{1, 0, "su propio límite de conexiones a la vez"}, {2, 3, ""}};
    for (const auto& c : casos) {
        base.ejecuta(QStringLiteral("GRANT USAGE ON *.* TO 'corrida'@'%' WITH "
                                    "MAX_USER_CONNECTIONS %1")
                         .arg(c.conexiones));
        Conexion cnn;
        ASSERT_TRUE(b.AbrirBdD(cnn)) << cnn.ultimoError().toStdString();
        const ResultadoDeImpresion r = ImpresionDeRemisiones(cnn).Imprime();
        cnn.cierra();
        EXPECT_EQ(r.impresas, c.impresas) << r.Mensaje().toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.error))) << r.error.toStdString();
        EXPECT_TRUE(restos().isEmpty()) << restos().join(' ').toStdString();
    }
    b.cUsuario = usuario;
    b.cPassword = contrasena;
    base.ejecuta(QStringLiteral("DROP USER 'corrida'@'%'"));
    EXPECT_EQ(Nuevos().size(), 3);
}

TEST_F(CorridaDeImpresion, UnaLimpiezaQueFallaDespuesDeImprimirCuentaLaRemision) {
    // The first note has a line from size variants, whose rows the server refuses to delete
    // once its block of notes is printed: the three notes of the block came out, and the run
    // says so and stops on the last of them.
    base.ejecuta(
        QStringLiteral("UPDATE tmpremisionesdetalle SET IdExterna='RE000000001001' WHERE Id=1"));
    base.ejecuta(QStringLiteral("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) "
                                "VALUES ('RE000000001001', 'T-CH', 2)"));
    base.ejecuta(QStringLiteral("CREATE TRIGGER sin_borrar BEFORE DELETE ON partidatallaocolor "
                                "FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
                                "'borrado rechazado'"));
    LibroDeImpresion libro;
    PlanDeImpresion plan =
        PlanDeImpresion::Nueva(base.conexion(), QStringLiteral("tope"), QStringLiteral("prueba"));
    const ResultadoDeImpresion r = ImpresionDeRemisiones(base.conexion()).Imprime(plan, libro);
    EXPECT_TRUE(r.Fallo());
    EXPECT_TRUE(r.fallidaImpresa);
    EXPECT_EQ(r.impresas, 3);
    ASSERT_EQ(Nuevos().size(), 3);
    EXPECT_TRUE(PaginasDePdf(Nuevos()[0]).join(QString()).contains(QStringLiteral("T-CH-2")));
    EXPECT_TRUE(r.Mensaje().startsWith(QStringLiteral("La remisión A 3 se imprimió")))
        << r.Mensaje().toStdString();
    EXPECT_TRUE(r.Resumen().startsWith(QStringLiteral(
        "impresas 3 de 3, en la cola 0, con error 0; detenida después de imprimir A 3: ")))
        << r.Resumen().toStdString();
    EXPECT_TRUE(r.error.contains(QStringLiteral("borrado rechazado")));
    EXPECT_TRUE(r.error.contains(QStringLiteral("partidatallaocolor")));
    EXPECT_EQ(libro.Ultima(QStringLiteral("tope"))->Cuenta(EstadoDeNota::Impresa), 3);

    // A run cancelled while its first note prints goes on with the second, then the third.
    base.ejecuta(QStringLiteral("DROP TRIGGER sin_borrar"));
    base.ejecuta(QStringLiteral("DELETE FROM partidatallaocolor"));
    PlanDeImpresion otra =
        PlanDeImpresion::Nueva(base.conexion(), QStringLiteral("tope"), QStringLiteral("prueba"));
    ImpresionDeRemisiones cancelada(base.conexion());
    const ResultadoDeImpresion uno =
        cancelada.Imprime(otra, libro, [&cancelada](int numero, int, const QString&) {
            if (numero == 1) {
                cancelada.Cancela();
            }
        });
    EXPECT_EQ(uno.impresas, 1);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 0);
    PlanDeImpresion resto =
        PlanDeImpresion::Continuacion(libro, base.conexion(), QStringLiteral("tope"));
    EXPECT_EQ(resto.numeros(), (QVector<int>{2, 3}));
    EXPECT_TRUE(resto.ParaLaBitacora().endsWith(
        QStringLiteral("continúa desde la remisión 2 de 3 (folio A 2) hasta la 3 (folio A 3)")))
        << qPrintable(resto.ParaLaBitacora());
    const ResultadoDeImpresion siguio =
        ImpresionDeRemisiones(base.conexion()).Imprime(resto, libro);
    EXPECT_TRUE(siguio.Completa()) << qPrintable(siguio.Mensaje());
    EXPECT_EQ(siguio.total, 2);
    ASSERT_EQ(Nuevos().size(), 6);
    EXPECT_TRUE(PaginasDePdf(Nuevos()[4]).join(QString()).contains(QStringLiteral("A 2")));
    EXPECT_TRUE(PaginasDePdf(Nuevos()[5]).join(QString()).contains(QStringLiteral("A 3")));
    EXPECT_EQ(libro.Ultima(QStringLiteral("tope"))->Cuenta(EstadoDeNota::Impresa), 3);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 0);
}

// The run's extracted template and auxiliary file lie in this process's own scratch folder, not
// in the shared Temporal where another workstation's run could overwrite them.
TEST_F(CorridaDeImpresion, LosArchivosDeLaCorridaSonDeSuProceso) {
    PreparativosDeImpresion preparativos(base.conexion(), ImpresionDeRemisiones::Plantilla());
    const QString propia = QFileInfo(TemporalDelProceso::Carpeta()).canonicalFilePath();
    ASSERT_FALSE(propia.isEmpty());
    EXPECT_NE(propia, QFileInfo(TemporalDelProceso::Raiz()).canonicalFilePath());
    EXPECT_EQ(QFileInfo(preparativos.Auxiliar().Ruta()).canonicalPath(), propia);
    EXPECT_TRUE(restos().contains(QStringLiteral("fmtremision.rpt")))
        << qPrintable(restos().join(' '));
    EXPECT_TRUE(restos().contains(QFileInfo(preparativos.Auxiliar().Ruta()).fileName()));
    EXPECT_TRUE(QDir(TemporalDelProceso::Raiz()).entryList(QDir::Files).isEmpty());
}

// A ledger of the layout before notes kept the file found at their destination.
void creaLibroAnterior(const QString& archivo) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("libro-anterior"));
        db.setDatabaseName(archivo);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        // As the program left it on a local disk.
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        ASSERT_TRUE(q.exec(QStringLiteral(
            "CREATE TABLE corridas (id INTEGER PRIMARY KEY, trabajo TEXT NOT NULL, parametros "
            "TEXT NOT NULL, huella TEXT NOT NULL, creada TEXT NOT NULL)")));
        ASSERT_TRUE(q.exec(QStringLiteral(
            "CREATE TABLE notas (corrida INTEGER NOT NULL REFERENCES corridas(id), numero "
            "INTEGER NOT NULL, id INTEGER NOT NULL, folio TEXT NOT NULL, estado TEXT NOT NULL, "
            "destino TEXT NOT NULL DEFAULT '', documento TEXT NOT NULL DEFAULT '', trabajo_cups "
            "INTEGER NOT NULL DEFAULT 0, causa TEXT NOT NULL DEFAULT '', enviada INTEGER NOT NULL "
            "DEFAULT 0, PRIMARY KEY (corrida, numero))")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("libro-anterior"));
}

// A note sent to a PDF file is printed only by a file written after it was sent that is not the
// one found there when it was sent, even one put there an instant before; a ledger of the layout
// before takes the new column, and a note it sent with nothing recorded is judged by time alone.
TEST(SeguimientoDeNotas, ElArchivoQueYaEstabaNoEsElDeLaRemision) {
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Impresiones.sqlite"));
    creaLibroAnterior(archivo);
    LibroDeImpresion libro(archivo);
    const struct {
        const char* caso;
        bool estaba;    // a file at the destination when the note was sent
        bool seEscribe; // the file written again after it was sent
        bool seAnotaLoQueHabia;
        EstadoDeNota estado;
    } casos[] = {
        {"el que estaba, sin tocar", true, false, true, EstadoDeNota::Pendiente},
        {"el que estaba, reemplazado", true, true, true, EstadoDeNota::Impresa},
        {"uno nuevo", false, true, true, EstadoDeNota::Impresa},
        {"ninguno", false, false, true, EstadoDeNota::Pendiente},
        {"enviada sin anotar lo que había", true, false, false, EstadoDeNota::Impresa},
    };
    CorridaDelLibro corrida{
        0, QStringLiteral("prueba"), QStringLiteral("p"), QStringLiteral("h"), {}};
    for (int n = 1; n <= static_cast<int>(std::size(casos)); ++n) {
        corrida.notas << NotaDelLibro{n, n, QStringLiteral("A %1").arg(n)};
    }
    corrida = libro.Abre(corrida);
    const auto pdf = [&carpeta](int n) {
        return carpeta.filePath(QStringLiteral("%1.pdf").arg(n));
    };
    for (NotaDelLibro& n : corrida.notas) {
        const auto& c = casos[n.numero - 1];
        if (c.estaba) {
            CarpetaDePrueba::escribe(pdf(n.numero), "%PDF de otra corrida\n%%EOF\n");
        }
        n.estado = EstadoDeNota::Enviada;
        n.destino = pdf(n.numero);
        n.enviada = QDateTime::currentMSecsSinceEpoch();
        n.previo = c.seAnotaLoQueHabia ? SeguimientoDeNotas::HuellaDeArchivo(n.destino) : QString();
    }
    libro.Anota(corrida.id, corrida.notas);
    QThread::msleep(20);
    for (const NotaDelLibro& n : std::as_const(corrida.notas)) {
        if (casos[n.numero - 1].seEscribe) {
            CarpetaDePrueba::escribe(pdf(n.numero), "%PDF de esta corrida, completo\n%%EOF\n");
        }
    }
    CorridaDelLibro leida = *libro.Ultima(QStringLiteral("prueba"));
    SeguimientoDeNotas(libro, leida).Actualiza();
    const CorridaDelLibro despues = *libro.Ultima(QStringLiteral("prueba"));
    for (const NotaDelLibro& n : despues.notas) {
        EXPECT_EQ(LibroDeImpresion::NombreDelEstado(n.estado),
                  LibroDeImpresion::NombreDelEstado(casos[n.numero - 1].estado))
            << casos[n.numero - 1].caso;
    }
}

// Two programs that open a ledger of the layout before at the same instant both open it: the one
// that finds the new column already added by the other does not fail adding it again.
TEST(LibroDeImpresion, DosQueAbrenAlMismoTiempoUnLibroAnterior) {
    constexpr int kRondas = 12;
    constexpr int kProgramas = 4;
    int fallidos = 0;
    QString mensaje;
    for (int ronda = 0; ronda < kRondas; ++ronda) {
        QTemporaryDir carpeta;
        const QString archivo = carpeta.filePath(QStringLiteral("Impresiones.sqlite"));
        creaLibroAnterior(archivo);
        std::latch salida(kProgramas);
        std::mutex candado;
        std::vector<std::thread> programas;
        for (int p = 0; p < kProgramas; ++p) {
            programas.emplace_back([&] {
                salida.arrive_and_wait();
                try {
                    LibroDeImpresion libro(archivo);
                } catch (const std::exception& e) {
                    const std::lock_guard<std::mutex> cerrado(candado);
                    ++fallidos;
                    mensaje = QString::fromUtf8(e.what());
                }
            });
        }
        for (std::thread& programa : programas) {
            programa.join();
        }
    }
    EXPECT_EQ(fallidos, 0) << qPrintable(mensaje);
}

// A run stopped by a full disk says, in this order: the cause with the file, where it stopped
// and the counts, the error's number (the command line's text; the window's details), and what
// to do, which goes on from the note in the window and on the command line alike.
TEST(ParadaPorDiscoLleno, LaCausaPrimeroYAlFinalQueHacer) {
    const QString sinEspacio =
        QStringLiteral("No hay espacio en el disco para escribir A-2.pdf (/srv/pdf/A-2.pdf)");
    const struct {
        const char* caso;
        const char* remisionFallida;
        ParadaDeImpresion::Desde desde;
        QStringList enOrden;
    } casos[] = {
        {"ventana",
         "A 2",
         ParadaDeImpresion::Desde::Ventana,
         {QStringLiteral("No hay espacio en el disco para escribir el archivo "
                         "«/srv/pdf/A-2.pdf».\r\nLa impresión se detuvo en la remisión A 2"),
          QStringLiteral("Se imprimió 1 de 3 remisiones.\r\nEn la carpeta /srv/pdf\r\n\r\n"),
          QStringLiteral("Libere espacio en ese disco y pulse «Continuar desde la remisión» para "
                         "imprimir las que faltan.")}},
        {"consola",
         "A 2",
         ParadaDeImpresion::Desde::Consola,
         {QStringLiteral("No hay espacio en el disco para escribir el archivo «/srv/pdf/A-2.pdf»."),
          QStringLiteral("La impresión se detuvo en la remisión A 2"),
          QStringLiteral("Error no. 20599: ") + sinEspacio,
          QStringLiteral("Libere espacio en ese disco y ejecute la misma orden con --continuar "
                         "para imprimir las que faltan.")}},
        {"sin comenzar",
         "",
         ParadaDeImpresion::Desde::Ventana,
         {QStringLiteral("No hay espacio en el disco para escribir el archivo «/srv/pdf/A-2.pdf»."),
          QStringLiteral("La impresión no pudo comenzar"),
          QStringLiteral("Libere espacio en ese disco y vuelva a intentar.")}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        ResultadoDeImpresion r;
        r.total = 3;
        r.impresas = 1;
        r.remisionFallida = QString::fromUtf8(c.remisionFallida);
        r.dondeQuedaron = QStringLiteral("En la carpeta /srv/pdf");
        r.error = QStringLiteral("Error no. 20599: ") + sinEspacio;
        r.causa = ErrorOrvlib(20599, sinEspacio, QString());
        ASSERT_TRUE(ParadaDeImpresion::PorDiscoLleno(r));
        const QString texto = ParadaDeImpresion::Texto(r, c.desde);
        EXPECT_TRUE(texto.startsWith(c.enOrden.first())) << qPrintable(texto);
        EXPECT_TRUE(texto.endsWith(c.enOrden.last())) << qPrintable(texto);
        qsizetype antes = -1;
        for (const QString& parte : c.enOrden) {
            const qsizetype donde = texto.indexOf(parte);
            EXPECT_GT(donde, antes) << qPrintable(parte + QLatin1Char('\n') + texto);
            antes = donde;
        }
        // The window keeps the driver's number and text for its details.
        EXPECT_EQ(texto.contains(QStringLiteral("Error no.")),
                  c.desde == ParadaDeImpresion::Desde::Consola);
    }
    // Another cause keeps the run's own message.
    ResultadoDeImpresion otra;
    otra.remisionFallida = QStringLiteral("A 2");
    otra.error = QStringLiteral("Error no. 1064: syntax");
    otra.causa = ErrorOrvlib(1064, QStringLiteral("syntax"), QStringLiteral("SELEC 1"));
    EXPECT_FALSE(ParadaDeImpresion::PorDiscoLleno(otra));
}

} // namespace
