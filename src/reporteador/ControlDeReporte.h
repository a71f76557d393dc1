#pragma once

#include "reporteador/Reporteador.h"
#include "reporteador/TrabajoDeReporte.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// The report engine's control as a program drives it: settings by dispatch identifier fill a
// report job, and property 17 = 1 runs it on the engine. Properties: 3 template file, 8 preview
// title, 13 record selection, 17 action, 20 connect text, 24 destination (1 printer, 0 preview),
// 25 copies, 29 formula (indexed 0-20), 32 table location (indexed 0-14), 48 printer device.
// 12 sort fields, 15 window state, 30 group sort (indexed), 47 printer driver and 49 printer
// port are taken and play no part. Errors are thrown as ErrorDeReporte.
class ControlDeReporte {
public:
    ControlDeReporte();

    void Asigna(int id, const QVariant& valor);
    void AsignaIndexada(int id, int indice, const QVariant& valor);
    QVariant Lee(int id, int indice = -1) const;

    // A print run of many reports on one template and connect text (see Reporteador).
    void IniciaCorrida(const QString& textoDeConexion) { motor_.IniciaCorrida(textoDeConexion); }
    void TerminaCorrida() { motor_.TerminaCorrida(); }
    // The selections of the run's next reports, read together (see Reporteador::Anticipa).
    void Anticipa(const QStringList& selecciones, const QStringList& tablasQueCambian) {
        motor_.Anticipa(selecciones, tablasQueCambian);
    }

    // Where what would go to the printer goes instead: a PDF file per run, or a PNG file per
    // page, in a folder, or the preview window; or every report of a print run into one PDF
    // file (PdfUnico, where the folder is that file's path).
    enum class Desvio { Ninguno, Pdf, Png, Ventana, PdfUnico };
    void Desvia(Desvio desvio, const QString& carpeta = {});
    Desvio DesvioActual() const { return desvio_; }
    const QString& CarpetaDeSalida() const { return carpetaDeSalida_; }
    // PDF files in that folder; an empty folder prints.
    void DirigeAPdf(const QString& carpeta);
    // Every report of the print runs into that one PDF file; an empty path prints.
    void DirigeAPdfUnico(const QString& archivo);
    // The bookmark of the next reports in the run's one PDF (the note's series and folio).
    void Marca(const QString& marcador) { trabajo_.marcador = marcador; }
    // Told where each report goes before it is written or handed over (see TrabajoDeReporte);
    // none when empty.
    void AlEnviar(std::function<void(const QString&, const QString&)> aviso) {
        trabajo_.alEnviar = std::move(aviso);
    }
    // The PDF file the next report replaces, in a PDF folder (an earlier print of the note);
    // taken by that report alone.
    void Reemplaza(const QString& archivo) { reemplazo_ = archivo; }
    // What the last report produced: its pages, files and CUPS job.
    const ResultadoDeReporte& UltimoResultado() const { return ultimo_; }
    // Closes the print run's one PDF and names it; its path, or empty when the run sends its
    // reports elsewhere or none went into it. Throws ErrorDeReporte when it is not whole.
    QString CierraDocumentoDeCorrida();
    // The PDF and PNG files written since the control was made, in order.
    const QStringList& ArchivosGenerados() const { return generados_; }
    // Pages of the last run.
    int PaginasDelUltimo() const { return ultimo_.paginas; }
    const TiemposDeReporte& Tiempos() const { return motor_.Tiempos(); }

    static constexpr int kTablas = 15;
    static constexpr int kFormulas = 21;

private:
    void ejecuta();

    TrabajoDeReporte trabajo_;
    int destino_ = 0;
    Desvio desvio_ = Desvio::Ninguno;
    QString carpetaDeSalida_;
    QStringList generados_;
    QString reemplazo_;
    ResultadoDeReporte ultimo_;
    Reporteador motor_;
};
