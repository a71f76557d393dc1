#pragma once

#include "reporteador/Maquetador.h"
#include "reporteador/MarcadoresDePdf.h"
#include "reporteador/PinturaDePaginas.h"

#include <QPainter>
#include <QString>
#include <QVector>
#include <memory>

class EscritorDeArchivo;
class QPdfWriter;
class QTemporaryFile;
class SalidaRevisada;
struct Plantilla;

// One PDF for all the documents of a print run: each document's pages are added in order to one
// open writer, and the file takes its name only when the run closes it whole (scratch file,
// checked writes, sync to disk, closing trailer, rename). A run's file paints its pages on a
// thread of its own while the next document is read and laid out. Dropped unclosed, nothing is left
// under its name and an older file of that name stays as it was. With bookmarks, each document
// named is one of the PDF's outline, pointing at its first page.
class DocumentoDeCorrida {
public:
    enum class Indice { Sin, ConMarcadores };
    // The title defaults to the file's name without its extension.
    explicit DocumentoDeCorrida(QString ruta, QString titulo = {}, Indice indice = Indice::Sin,
                                PinturaDePaginas::Hilo hilo = PinturaDePaginas::Hilo::ElMismo);
    ~DocumentoDeCorrida();
    DocumentoDeCorrida(const DocumentoDeCorrida&) = delete;
    DocumentoDeCorrida& operator=(const DocumentoDeCorrida&) = delete;

    // Adds the pages of one document, on the template's sheet, with its bookmark when it is
    // named and the document has them; throws ErrorDeReporte when the file cannot be written.
    void Agrega(const Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas,
                const QString& marcador = {});
    // Finishes and names the file; throws ErrorDeReporte, leaving nothing, when it is not whole.
    QString Termina();
    int Paginas() const { return paginas_; }
    const QString& Ruta() const { return ruta_; }

    // Why a written PDF is not whole: empty, or cut before its closing trailer; empty when whole.
    static QString FaltaAlPdf(const SalidaRevisada& salida);

private:
    void abre(const Plantilla& plantilla);
    void ponIndice();

    QString ruta_;
    QString titulo_;
    Indice indice_;
    PinturaDePaginas::Hilo hilo_;
    std::unique_ptr<EscritorDeArchivo> archivo_;
    // With bookmarks Qt writes here first; the file gets this copy with the outline added.
    std::unique_ptr<QTemporaryFile> borrador_;
    MarcadoresDePdf marcadores_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter pintor_;
    std::unique_ptr<PinturaDePaginas> pintura_;
    int paginas_ = 0;
};
