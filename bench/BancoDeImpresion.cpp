#include "BancoDeImpresion.h"

#include "Banco.h"
#include "Mediana.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "interfaz/VistaDeLaCorrida.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/Plantilla.h"
#include "tienda/TablasDeTrabajo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

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
        CorridaMedida c;
        // As the program prints: the run planned and kept in the print ledger, note by note.
        LibroDeImpresion libro;
        PlanDeImpresion plan = PlanDeImpresion::Nueva(cnn, QStringLiteral("banco"), QString());
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
// (…)" and the median run's time by step. In one PDF the pages are painted on a thread of their
// own: what the run's own thread spent on them is its waits for that thread.
void informaImpresion(const char* modo, const std::vector<CorridaMedida>& corridas, double piso,
                      double preparacion, const char* salida) {
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
    parte(salida, mediana.motor.salida / 1e6);
    parte("resto: consultas y base auxiliar", segundos - motor - preparacion);
}

} // namespace

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
                     piso(maquetadas, banco.carpeta(QStringLiteral("piso")), true), preparacion,
                     "escritura del PDF");

    const QString unico =
        QDir(banco.carpeta(QStringLiteral("unico"))).filePath(QStringLiteral("corrida.pdf"));
    rpt.crpReport.DirigeAPdfUnico(unico);
    const std::vector<CorridaMedida> enUno = midePorCorrida(banco.cnn);
    informaImpresion("impresion en un PDF", enUno,
                     piso(maquetadas, banco.carpeta(QStringLiteral("piso")), false), preparacion,
                     "espera al hilo que pinta el PDF");
    std::printf("  el PDF de la corrida: %lld KB, %.1f KB por remisión\n",
                QFileInfo(unico).size() / 1024,
                QFileInfo(unico).size() / 1024.0 / std::max(1, enUno.front().notas));
    return 0;
}
