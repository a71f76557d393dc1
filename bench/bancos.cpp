// Benchmarks of the three jobs and of printing on a generated store, against the private
// MariaDB (scripts/mariadb start; eval "$(scripts/mariadb env)"). Each prints its time and the
// ratio to its bound: the time the same server takes to copy the same notes and lines with one
// INSERT … SELECT each; both are the median of three runs.
//
//   bancos tope        30 days × 1,000 notes × 5 lines, cap of a quarter of the period
//   bancos anual       365 days × 400 notes × 5 lines, a cap that chooses about 20,000 notes
//   bancos porcentaje  "&Comprobar" over the 10,000 notes of one series
//   bancos factura     "Aplicar" + "Generar factura" over 10,000 notes
//   bancos impresion   200 notes printed three times to a PDF per note and three times to one
//                      PDF for the run: each mode's median run's notes per second, its ratio to
//                      its floor (Qt's PDF writer painting the same pages with no reads) and
//                      its time by step
//
// The cap benchmarks also print the processor time of the program and of the server, and a
// fingerprint of what the run left for comparing two builds.

#include "arranque/Principal.h"
#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "interfaz/VistaDeLaCorrida.h"
#include "orvlib/CamposBin.h"
#include "orvlib/GuionSql.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/Plantilla.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/TablasDeTrabajo.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

const QString kBase = QStringLiteral("banco");

QString lee(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

qint64 cifra(Conexion& cnn, const QString& sentencia) {
    QSqlQuery q = cnn.consulta(sentencia);
    return q.next() ? q.value(0).toLongLong() : 0;
}

// Each measure is taken kVeces and the median kept: the machine is shared, and neither the
// fastest nor the slowest run says what a store will see.
constexpr int kVeces = 3;

double medianaDe(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

double mediana(const std::function<void()>& preparar, const std::function<void()>& medir) {
    std::vector<double> tiempos;
    for (int i = 0; i < kVeces; ++i) {
        preparar();
        QElapsedTimer reloj;
        reloj.start();
        medir();
        tiempos.push_back(reloj.nsecsElapsed() / 1e9);
    }
    return medianaDe(tiempos);
}

// A program folder, data sources and a store of the given size in the database "banco".
class Banco {
public:
    Banco(int dias, int notas, int partidas) {
        qputenv("DEREMISIONES_CARPETA", carpeta_.filePath(QStringLiteral("programa")).toUtf8());
        qputenv("ODBCINI", carpeta_.filePath(QStringLiteral("odbc.ini")).toUtf8());
        QDir().mkpath(carpeta_.filePath(QStringLiteral("programa")));
        QFile odbc(carpeta_.filePath(QStringLiteral("odbc.ini")));
        odbc.open(QIODevice::WriteOnly);
        odbc.write(
            "[myodbc3-test]\nDriver=MariaDB Unicode\n[Orvane Reportes]\nDriver=MariaDB Unicode\n");
        odbc.close();
        Principal::CreaObjetosCompartidos();
        Proceso& p = Proceso::actual();
        p.stCarpetaPrograma = carpeta_.filePath(QStringLiteral("programa")) + QLatin1Char('/');
        p.stIniHost = carpeta_.filePath(QStringLiteral("Orvane.ini"));
        BasesDD& b = *p.bases;
        b.cRuta = qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1"));
        b.cPuerto = qEnvironmentVariableIntValue("DEREMISIONES_MYSQL_PUERTO");
        b.cUsuario = QStringLiteral("root");
        b.cMiBase = QStringLiteral("mysql");
        if (!b.AbrirBdD(cnn)) {
            std::fprintf(stderr, "sin servidor: %s\n", qPrintable(cnn.ultimoError()));
            std::exit(1);
        }
        cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + kBase);
        cnn.ejecuta(QStringLiteral("CREATE DATABASE ") + kBase +
                    QStringLiteral(" CHARACTER SET utf8mb4"));
        cnn.ejecuta(QStringLiteral("USE ") + kBase);
        b.cMiBase = kBase;
        for (const QString& s : SentenciasDeGuion(
                 lee(QStringLiteral(DEREMISIONES_FUENTES "/tests/muestras/host_schema.sql")))) {
            cnn.ejecuta(s);
        }
        QProcess generador;
        generador.start(QStringLiteral(DEREMISIONES_GENERADOR),
                        {QStringLiteral("--dias"), QString::number(dias), QStringLiteral("--notas"),
                         QString::number(notas), QStringLiteral("--partidas"),
                         QString::number(partidas), QStringLiteral("--base"), kBase});
        generador.waitForFinished(-1);
        for (const QString& s :
             SentenciasDeGuion(QString::fromUtf8(generador.readAllStandardOutput()))) {
            cnn.ejecuta(s);
        }
        CamposBin campos;
        campos.BaseDD = &cnn;
        campos.GuardaRPT(QStringLiteral("fmtRemision.rpt"),
                         ArchivoDePlantilla::Construye(lee(QStringLiteral(
                             DEREMISIONES_FUENTES "/templates/fmtRemision.rpt.fuente"))));
        campos.GuardaRPT(QStringLiteral("Auxiliar.MDB"),
                         ConstruyeBaseAuxiliar(lee(
                             QStringLiteral(DEREMISIONES_FUENTES "/templates/Auxiliar.MDB.sql"))));
    }
    ~Banco() {
        cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + kBase);
        // The process's scratch folder lives in the program folder, which goes now.
        TemporalDelProceso::Suelta();
    }

    QString carpeta(const QString& nombre) const { return carpeta_.filePath(nombre); }

    // Time to copy the notes of a condition and their lines with one INSERT … SELECT each, the
    // median of kVeces.
    double cota(const QString& condicion) {
        return mediana(
            [this] {
                cnn.ejecuta(QStringLiteral("DROP TABLE IF EXISTS cota, cotadet"));
                cnn.ejecuta(QStringLiteral("CREATE TABLE cota LIKE remisiones"));
                cnn.ejecuta(QStringLiteral("CREATE TABLE cotadet LIKE remisionesdetalle"));
            },
            [this, &condicion] {
                cnn.ejecuta(QStringLiteral("INSERT INTO cota SELECT * FROM remisiones WHERE ") +
                            condicion);
                cnn.ejecuta(QStringLiteral("INSERT INTO cotadet SELECT d.* FROM remisionesdetalle "
                                           "d JOIN cota c ON c.Id=d.Id"));
            });
    }

    qint64 sentencias() {
        return cifra(cnn,
                     QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.SESSION_STATUS "
                                    "WHERE VARIABLE_NAME='QUESTIONS'"));
    }

    Conexion cnn;

private:
    QTemporaryDir dir_;
    QDir carpeta_{dir_.path()};
};

void informa(const char* nombre, double segundos, double cota, const QString& extra = {}) {
    std::printf("%s: %.3f s   cota (INSERT … SELECT): %.3f s   razón: %.2f%s\n", nombre, segundos,
                cota, segundos / cota, qPrintable(extra));
}

// Processor time of this process and of the server's, which a shared machine does not
// inflate the way it inflates the elapsed time: what the job costs, not how long it waited.
class TiempoDeCpu {
public:
    explicit TiempoDeCpu(Conexion& cnn)
        : servidor_(QStringLiteral("/proc/%1/stat").arg(pidDelServidor(cnn))) {}

    double cliente() const {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec + t.tv_nsec / 1e9;
    }
    double servidor() const {
        QFile f(servidor_);
        if (!f.open(QIODevice::ReadOnly)) {
            return 0;
        }
        // Fields 14 and 15, user and system time in clock ticks, after the name in brackets.
        const QByteArray texto = f.readAll();
        const QList<QByteArray> campos = texto.mid(texto.lastIndexOf(')') + 2).split(' ');
        return (campos.value(11).toDouble() + campos.value(12).toDouble()) /
               static_cast<double>(sysconf(_SC_CLK_TCK));
    }

private:
    static QString pidDelServidor(Conexion& cnn) {
        QFile f(cnn.valor(QStringLiteral("SELECT @@pid_file")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
    }

    QString servidor_;
};

// What a cap run leaves, in a few characters, so that a faster build can be checked against a
// slower one on the same store: the list file's digest and the server's checksums of the
// copies and of the host's lines, which the repairs change.
QString huellaDeTope(Conexion& cnn, const QString& lista) {
    QFile archivo(lista);
    archivo.open(QIODevice::ReadOnly);
    QString huella = QString::fromLatin1(
        QCryptographicHash::hash(archivo.readAll(), QCryptographicHash::Md5).toHex().left(12));
    QSqlQuery sumas = cnn.consulta(
        QStringLiteral("CHECKSUM TABLE tmpremisiones, tmpremisionesdetalle, remisionesdetalle"));
    while (sumas.next()) {
        huella += QLatin1Char(' ') + sumas.value(1).toString();
    }
    return huella;
}

// The cap job's "Aplicar" over a period of series-A notes; the cap is the share of the
// period's total that parte gives for the period's number of notes, so about that share of the
// notes is chosen. Each run starts from the lines as generated, zero tax fields included: the
// lines the repairs can change are kept aside and put back before each run.
int tope(const char* titulo, int dias, int notas, const std::function<double(double)>& parte) {
    QElapsedTimer carga;
    carga.start();
    Banco banco(dias, notas, 5);
    const double segundosDeCarga = carga.nsecsElapsed() / 1e9;
    QSqlQuery periodo = banco.cnn.consulta(
        QStringLiteral("SELECT SUM(Subtotal+IVA+ImpuestoAd), COUNT(*) FROM remisiones WHERE "
                       "Cancelada=0 AND Serie='A'"));
    periodo.next();
    const double total = periodo.value(0).toDouble();
    const double tope = total * parte(periodo.value(1).toDouble());
    banco.cnn.ejecuta(QStringLiteral("CREATE TABLE partidas LIKE remisionesdetalle"));
    banco.cnn.ejecuta(QStringLiteral(
        "INSERT INTO partidas SELECT * FROM remisionesdetalle WHERE (ImpuestoAd>0 AND "
        "(BaseImpuestoAd=0 OR ImporteImpuestoAd=0)) OR (IVA>0 AND (BaseIVA=0 OR ImporteIVA=0))"));
    const QString lista = banco.carpeta(QStringLiteral("ListaRemisiones.txt"));
    ReimpresionConTope trabajo(banco.cnn, lista);
    const QDate desde(2026, 11, 1);
    ResultadoDeTope r;
    qint64 sentencias = 0;
    const TiempoDeCpu cpu(banco.cnn);
    std::vector<double> cliente;
    std::vector<double> servidor;
    const double segundos = mediana(
        [&banco] {
            banco.cnn.ejecuta(QStringLiteral(
                "UPDATE remisionesdetalle d JOIN partidas p ON p.Id=d.Id AND p.Partida=d.Partida "
                "SET d.BaseImpuestoAd=p.BaseImpuestoAd, d.ImporteImpuestoAd=p.ImporteImpuestoAd, "
                "d.BaseIVA=p.BaseIVA, d.ImporteIVA=p.ImporteIVA"));
        },
        [&] {
            const qint64 antes = banco.sentencias();
            const double clienteAntes = cpu.cliente();
            const double servidorAntes = cpu.servidor();
            r = trabajo.Aplica(desde, desde.addDays(dias - 1), QStringLiteral("A"),
                               Importe::DeDouble(tope), 1);
            cliente.push_back(cpu.cliente() - clienteAntes);
            servidor.push_back(cpu.servidor() - servidorAntes);
            sentencias = banco.sentencias() - antes;
        });
    const QString huella = huellaDeTope(banco.cnn, lista);
    const double cota = banco.cota(QStringLiteral("Id IN (SELECT Id FROM tmpremisiones)"));
    informa(titulo, segundos, cota,
            QStringLiteral("\n  %1 remisiones elegidas, %2 sentencias (%3 por día); carga de la "
                           "tienda %4 s\n  procesador: programa %6 s, servidor %7 s\n  huella "
                           "del resultado: %5")
                .arg(r.remisiones)
                .arg(sentencias)
                .arg(static_cast<double>(sentencias) / r.dias.size(), 0, 'f', 1)
                .arg(segundosDeCarga, 0, 'f', 1)
                .arg(huella)
                .arg(medianaDe(cliente), 0, 'f', 3)
                .arg(medianaDe(servidor), 0, 'f', 3));
    return 0;
}

int porcentaje() {
    Banco banco(14, 1000, 5);
    ReimpresionConPorcentaje trabajo(banco.cnn);
    ResumenDePorcentaje r;
    const double segundos = mediana(
        [] {},
        [&] { r = trabajo.Comprueba(1, 100000, QStringLiteral("A"), Decimal::DeDouble(15)); });
    const double cota = banco.cota(QStringLiteral("Cancelada=0 AND Serie='A'"));
    informa("porcentaje (Comprobar)", segundos, cota,
            QStringLiteral("\n  %1 remisiones").arg(r.remisiones));
    return 0;
}

// "Aplicar" and "Generar factura"; each run starts from the notes as generated, with no invoice
// and an empty archive.
int factura() {
    Banco banco(11, 1000, 5);
    banco.cnn.ejecuta(QStringLiteral("CREATE DATABASE IF NOT EXISTS banco_resguardo"));
    banco.cnn.ejecuta(QStringLiteral(
        "DROP TABLE IF EXISTS banco_resguardo.remisiones, banco_resguardo.remisionesdetalle"));
    banco.cnn.ejecuta(QStringLiteral("CREATE TABLE banco_resguardo.remisiones LIKE remisiones"));
    banco.cnn.ejecuta(
        QStringLiteral("CREATE TABLE banco_resguardo.remisionesdetalle LIKE remisionesdetalle"));
    Conexion principal;
    Conexion temporal;
    Proceso::actual().bases->AbrirBdD(principal);
    FacturaDeRemisiones trabajo(principal, temporal);
    trabajo.TomaLaBaseTemporal();
    trabajo.PreparaBaseTemporal();
    const QString condicion = QStringLiteral("Fecha>='2026-11-01' AND Fecha<='2026-11-11' AND "
                                             "Cancelada=0 AND Afectada=1 AND Facturada=0");
    const double cota = banco.cota(condicion);
    TotalesDeFactura t;
    double aplicar = 0;
    const double segundos = mediana(
        [&banco] {
            for (const char* sentencia :
                 {"UPDATE remisiones SET Cancelada=0, Facturada=0, MotivoCancelacion='' WHERE "
                  "Facturada>0",
                  "DELETE FROM facturas", "DELETE FROM facturasdetalle",
                  "UPDATE sistema SET Contenido='1000' WHERE Dato='FA-F'",
                  "TRUNCATE TABLE banco_resguardo.remisiones",
                  "TRUNCATE TABLE banco_resguardo.remisionesdetalle"}) {
                banco.cnn.ejecuta(QString::fromLatin1(sentencia));
            }
        },
        [&] {
            QElapsedTimer reloj;
            reloj.start();
            t = trabajo.AplicaPorcentaje({QDate(2026, 11, 1), QDate(2026, 11, 11), {}, {}, {}, 10});
            aplicar = reloj.nsecsElapsed() / 1e9;
            DatosDeFactura d;
            d.serie = QStringLiteral("F");
            d.cliente = QStringLiteral("C001");
            d.fecha = QDate(2026, 11, 30);
            d.folioPropuesto = 1001;
            d.subtotal = t.subtotalDespues;
            d.iva = t.ivaDespues;
            d.ieps = t.iepsDespues;
            trabajo.GeneraFactura(d, QStringLiteral("banco_resguardo"));
        });
    trabajo.BorraBaseTemporal();
    trabajo.SueltaLaBaseTemporal();
    banco.cnn.ejecuta(QStringLiteral("DROP DATABASE banco_resguardo"));
    informa("factura (Aplicar + Generar factura)", segundos, cota,
            QStringLiteral("\n  %1 remisiones, %2 partidas; Aplicar %3 s (última vez)")
                .arg(t.remisiones)
                .arg(t.partidas)
                .arg(aplicar, 0, 'f', 3));
    return 0;
}

// One print run's measure: its notes, its time and the engine's phases in it.
struct CorridaMedida {
    int notas = 0;
    double segundos = 0;
    TiemposDeReporte motor;
};

// Three runs of the whole print as the control is set, each through the print ledger as the
// program runs it; the median run, the three sorted.
std::vector<CorridaMedida> midePorCorrida(Conexion& cnn) {
    modRPTs& rpt = modRPTs::actual();
    std::vector<CorridaMedida> corridas;
    for (int i = 0; i < kVeces; ++i) {
        const TiemposDeReporte antes = rpt.crpReport.Tiempos();
        ImpresionDeRemisiones impresion(cnn);
        QElapsedTimer reloj;
        reloj.start();
        // As the program prints: the run planned and kept in the print ledger, note by note.
        LibroDeImpresion libro;
        PlanDeImpresion plan = PlanDeImpresion::Nueva(cnn, QStringLiteral("banco"), QString());
        CorridaMedida c;
        const ResultadoDeImpresion resultado = impresion.Imprime(plan, libro);
        if (resultado.Fallo()) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(resultado.error));
        }
        c.notas = resultado.impresas;
        c.segundos = reloj.nsecsElapsed() / 1e9;
        const TiemposDeReporte& despues = rpt.crpReport.Tiempos();
        c.motor.lectura = despues.lectura - antes.lectura;
        c.motor.maquetado = despues.maquetado - antes.maquetado;
        c.motor.salida = despues.salida - antes.salida;
        corridas.push_back(c);
    }
    std::sort(corridas.begin(), corridas.end(), [](const CorridaMedida& a, const CorridaMedida& b) {
        return a.segundos < b.segundos;
    });
    return corridas;
}

// The floor of a print mode: Qt's PDF writer painting the same laid-out notes with no reads,
// as the engine writes them. A file per note is written, synced and renamed one by one; the
// run's one file gets a bookmark a note. The median of kVeces.
double piso(const QVector<DocumentoEnVista>& notas, const QString& carpeta, bool unoPorNota) {
    return mediana(
        [&carpeta] {
            QDir(carpeta).removeRecursively();
            QDir().mkpath(carpeta);
        },
        [&] {
            const auto plantilla = [](const DocumentoEnVista& d) {
                Plantilla p;
                p.nombre = QStringLiteral("fmtRemision");
                p.anchoHoja = d.hojaMm.width();
                p.altoHoja = d.hojaMm.height();
                return p;
            };
            if (unoPorNota) {
                int n = 0;
                for (const DocumentoEnVista& d : notas) {
                    DocumentoDeCorrida pdf(
                        QDir(carpeta).filePath(QStringLiteral("%1.pdf").arg(++n)));
                    pdf.Agrega(plantilla(d), d.paginas);
                    pdf.Termina();
                }
                return;
            }
            DocumentoDeCorrida pdf(QDir(carpeta).filePath(QStringLiteral("piso.pdf")), {},
                                   DocumentoDeCorrida::Indice::ConMarcadores);
            for (const DocumentoEnVista& d : notas) {
                pdf.Agrega(plantilla(d), d.paginas, d.titulo);
            }
            pdf.Termina();
        });
}

// "impresion: 200 remisiones en 2.10 s: 95.2 remisiones por segundo; razón con su piso: 1.40
// (…)" and the median run's time by step.
void informaImpresion(const char* modo, const std::vector<CorridaMedida>& corridas, double piso,
                      double preparacion) {
    const CorridaMedida& mediana = corridas[corridas.size() / 2];
    const double segundos = mediana.segundos;
    const int notas = mediana.notas;
    std::printf("%s: %d remisiones en %.2f s: %.1f remisiones por segundo; razón con su piso: "
                "%.2f (piso %.2f s; mediana de %d: %.1f, %.1f, %.1f)\n",
                modo, notas, segundos, notas / segundos, segundos / piso, piso, kVeces,
                corridas[0].notas / corridas[0].segundos, corridas[1].notas / corridas[1].segundos,
                corridas[2].notas / corridas[2].segundos);
    const auto parte = [segundos, notas](const char* nombre, double s) {
        std::printf("  %-40s %6.2f s  %5.1f %%  %5.2f ms por remisión\n", nombre, s,
                    100 * s / segundos, 1000 * s / notas);
    };
    const double motor =
        (mediana.motor.lectura + mediana.motor.maquetado + mediana.motor.salida) / 1e6;
    parte("preparación de la corrida (una vez)", preparacion);
    parte("lectura de datos (motor)", mediana.motor.lectura / 1e6);
    parte("maquetado", mediana.motor.maquetado / 1e6);
    parte("escritura del PDF", mediana.motor.salida / 1e6);
    parte("resto: consultas y base auxiliar", segundos - motor - preparacion);
}

// 200 notes printed as the user runs them: a PDF per note (--pdf) and one PDF for the run
// (--pdf-unico), three runs each, each beside its floor.
int impresion() {
    Banco banco(1, 200, 5);
    TablasDeTrabajo::Crea(banco.cnn);
    banco.cnn.ejecuta(
        QStringLiteral("INSERT INTO tmpremisiones SELECT * FROM remisiones ORDER BY Id LIMIT 200"));
    banco.cnn.ejecuta(QStringLiteral("INSERT INTO tmpremisionesdetalle SELECT d.* FROM "
                                     "remisionesdetalle d JOIN tmpremisiones t ON t.Id=d.Id"));
    // The run's set-up (template written out and checked, data source, auxiliary file), timed
    // alone.
    QElapsedTimer paso;
    paso.start();
    { const PreparativosDeImpresion preparativos(banco.cnn, ImpresionDeRemisiones::Plantilla()); }
    const double preparacion = paso.nsecsElapsed() / 1e9;
    // The notes laid out by the run itself, for the floors.
    const QVector<DocumentoEnVista> maquetadas = VistaDeLaCorrida::Documentos(banco.cnn);

    modRPTs& rpt = modRPTs::actual();
    rpt.crpReport.DirigeAPdf(banco.carpeta(QStringLiteral("pdf")));
    informaImpresion("impresion", midePorCorrida(banco.cnn),
                     piso(maquetadas, banco.carpeta(QStringLiteral("piso")), true), preparacion);

    const QString unico =
        QDir(banco.carpeta(QStringLiteral("unico"))).filePath(QStringLiteral("corrida.pdf"));
    rpt.crpReport.DirigeAPdfUnico(unico);
    const std::vector<CorridaMedida> enUno = midePorCorrida(banco.cnn);
    informaImpresion("impresion en un PDF", enUno,
                     piso(maquetadas, banco.carpeta(QStringLiteral("piso")), false), preparacion);
    std::printf("  el PDF de la corrida: %lld KB, %.1f KB por remisión\n",
                QFileInfo(unico).size() / 1024,
                QFileInfo(unico).size() / 1024.0 / std::max(1, enUno.front().notas));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString cual = app.arguments().value(1);
    if (cual == QLatin1String("tope")) {
        return tope("tope (30 días × 1,000 remisiones × 5 partidas)", 30, 1000,
                    [](double) { return 0.25; });
    }
    if (cual == QLatin1String("anual")) {
        return tope("tope anual (365 días × 400 remisiones × 5 partidas, 20,000 elegidas)", 365,
                    400, [](double notas) { return 20000 / notas; });
    }
    if (cual == QLatin1String("porcentaje")) {
        return porcentaje();
    }
    if (cual == QLatin1String("factura")) {
        return factura();
    }
    if (cual == QLatin1String("impresion")) {
        return impresion();
    }
    std::fprintf(stderr, "uso: bancos tope|anual|porcentaje|factura|impresion\n");
    return 2;
}
