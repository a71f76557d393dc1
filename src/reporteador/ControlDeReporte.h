#pragma once

#include "reporteador/Maquetador.h"
#include "reporteador/OrigenDeDatos.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class QWidget;

// The report engine's control: a program sets its properties by dispatch identifier and runs it
// with property 17 = 1, which reads the template file, its tables and the record selection,
// lays the documents out and sends them to the printer (destination 1) or to a preview window
// (destination 0). Errors are thrown as ErrorDeReporte with the engine's numbers.
//
// Time spent by the runs of an engine, by phase, in milliseconds.
struct TiemposDeReporte {
    qint64 lectura = 0;   // template file and data
    qint64 maquetado = 0; // layout
    qint64 salida = 0;    // painting and writing the PDF or the printer's job
    int reportes = 0;
};

// Properties: 3 template file, 8 preview title, 12 sort fields, 13 record selection, 15 window
// state, 17 action, 20 connect text, 24 destination, 25 copies, 29 formula (indexed 0-20),
// 30 group sort (indexed), 32 table location (indexed 0-14), 47 printer driver, 48 printer
// device, 49 printer port.
class ControlDeReporte {
public:
    ControlDeReporte();
    ~ControlDeReporte();

    void Asigna(int id, const QVariant& valor);
    void AsignaIndexada(int id, int indice, const QVariant& valor);
    QVariant Lee(int id, int indice = -1) const;

    // Where what would go to the printer goes instead: a PDF file per run, or a PNG file per
    // page, in a folder, or the preview window.
    enum class Desvio { Ninguno, Pdf, Png, Ventana };
    // Files are named by the template's archivo line for the run's first document (A-2000.pdf),
    // else after the template and the selected key (fmtremision-4711.pdf); a name already
    // taken gets -2, -3… PNG pages add their number (A-2000-1.png).
    void Desvia(Desvio desvio, const QString& carpeta = {});
    Desvio DesvioActual() const { return desvio_; }
    const QString& CarpetaDeSalida() const { return carpetaDeSalida_; }
    // PDF files in that folder; an empty folder prints.
    void DirigeAPdf(const QString& carpeta);
    // The PDF and PNG files written since the engine was made, in order.
    const QStringList& ArchivosGenerados() const { return generados_; }
    // Pages of the last run.
    int PaginasDelUltimo() const { return paginas_; }
    const TiemposDeReporte& Tiempos() const { return tiempos_; }
    // The window the preview belongs to.
    void PonVentana(QWidget* ventana) { ventana_ = ventana; }

    static constexpr int kTablas = 15;
    static constexpr int kFormulas = 21;

private:
    void ejecuta();
    QVector<DatosDeDocumento> leeDatos(const struct Plantilla& plantilla);
    QString ubicacion(int indice, const TablaDePlantilla& tabla) const;
    void imprime(const struct Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas,
                 const QString& nombre);
    void imprimeEnPdf(const struct Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas,
                      const QString& nombre);
    void imprimeEnPng(const struct Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas,
                      const QString& nombre);
    void muestra(const struct Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas);
    QString nombreDeSalida(const struct Plantilla& plantilla,
                           const QVector<DatosDeDocumento>& documentos) const;
    // A path in the output folder that no file has: base + extension, else base-2 + extension…
    QString rutaLibre(const QString& base, const QString& extension) const;

    QString archivo_;
    QString titulo_;
    QString seleccion_;
    QString conexion_;
    QString controlador_;
    QString impresora_;
    QString puerto_;
    QString orden_;
    int destino_ = 0;
    int estado_ = 0;
    int copias_ = 0;
    QVector<QString> ubicaciones_;
    QVector<QString> formulas_;
    QVector<QString> ordenDeGrupos_;
    Desvio desvio_ = Desvio::Ninguno;
    QString carpetaDeSalida_;
    QStringList generados_;
    int paginas_ = 0;
    TiemposDeReporte tiempos_;
    QWidget* ventana_ = nullptr;
    std::unique_ptr<OrigenDeDatos> datos_;
};
