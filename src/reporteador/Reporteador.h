#pragma once

#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/LecturaAnticipada.h"
#include "reporteador/Maquetador.h"
#include "reporteador/OrigenDeDatos.h"
#include "reporteador/TrabajoDeReporte.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QSizeF>
#include <functional>
#include <memory>
#include <optional>

// Time spent by the runs of an engine, by phase, in milliseconds.
// In microseconds: a report's steps take well under a millisecond each.
struct TiemposDeReporte {
    qint64 lectura = 0;   // template file and data
    qint64 maquetado = 0; // layout
    qint64 salida = 0;    // painting and writing the PDF or the printer's job
    int reportes = 0;
};

// The report engine: runs one report job: reads the template file, its tables and the
// selected records, lays the documents out and sends the pages to the printer, to PDF or PNG
// files, or to the preview window. The ODBC connection is kept between runs. Errors are
// thrown as ErrorDeReporte with the engine's numbers.
class Reporteador {
public:
    // Shows laid-out pages in a window until it is closed; the layer that has windows installs
    // it.
    using Presentador = std::function<void(const QString& titulo,
                                           const QVector<PaginaMaquetada>& paginas, QSizeF hojaMm)>;

    // Makes the printer a run prints on, for the system's printer it is given; by default a
    // QPrinter on it. Tests put a printer of their own here.
    using FabricaDeImpresora = std::function<std::unique_ptr<QPrinter>(const QPrinterInfo&)>;

    Reporteador();
    ~Reporteador();

    ResultadoDeReporte Ejecuta(const TrabajoDeReporte& trabajo);
    // A run of reports on one template: connects at once, so that a refused connection stops
    // the run before its first report, and keeps the template as read by the first report and
    // the tables' columns and the auxiliary file open until the run ends; a one-row table of
    // the server (not of the auxiliary file) is read once for the run.
    void IniciaCorrida(const QString& textoDeConexion);
    // Within a run: the selections of the next reports ({Remisiones.Id}=4711), whose server
    // rows are read together on the first of them, but for the tables the run writes to
    // between reports.
    void Anticipa(const QStringList& selecciones, const QStringList& tablasQueCambian);
    // Ending a run drops a one-PDF document it did not close: nothing is left under its name.
    void TerminaCorrida();
    // Closes the run's one PDF (Destino::PdfUnico): written whole and named, its path given
    // back; empty when no report went into it. Throws ErrorDeReporte when it is not whole.
    QString CierraDocumento();
    const TiemposDeReporte& Tiempos() const { return tiempos_; }

    // Returns the presenter it replaces.
    static Presentador PonPresentador(Presentador presentador);
    // An empty maker puts the default back.
    static void PonFabricaDeImpresora(FabricaDeImpresora fabrica);

private:
    Plantilla plantillaDe(const QString& ruta);
    QVector<DatosDeDocumento> leeDatos(const TrabajoDeReporte& t, const struct Plantilla& p);
    Fila unica(const TrabajoDeReporte& t, const struct Plantilla& p, int i,
               const std::function<QVector<Fila>(int, const QString&)>& lee);
    void imprime(const TrabajoDeReporte& t, const struct Plantilla& p,
                 const QVector<PaginaMaquetada>& paginas, const QString& nombre,
                 ResultadoDeReporte& resultado);

    std::unique_ptr<OrigenDeDatos> datos_;
    bool enCorrida_ = false;
    std::optional<Plantilla> plantillaDeCorrida_;
    std::unique_ptr<DocumentoDeCorrida> documento_;
    QString rutaDeCorrida_;
    QHash<QString, Fila> unicasDeCorrida_;     // by location
    QHash<QString, QImage> imagenesDeCorrida_; // the template's, by path
    LecturaAnticipada anticipada_;
    TiemposDeReporte tiempos_;
};
