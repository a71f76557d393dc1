#pragma once

#include "reporteador/Maquetador.h"

#include <QPainter>
#include <QString>
#include <QVector>
#include <memory>

class EscritorDeArchivo;
class QPdfWriter;
class SalidaRevisada;
struct Plantilla;

// One PDF for all the documents of a print run: each document's pages are added in order to one
// open writer, and the file takes its name only when the run closes it whole (scratch file,
// checked writes, sync to disk, closing trailer, rename). Dropped unclosed, nothing is left
// under its name and an older file of that name stays as it was.
class DocumentoDeCorrida {
public:
    // The title defaults to the file's name without its extension.
    explicit DocumentoDeCorrida(QString ruta, QString titulo = {});
    ~DocumentoDeCorrida();
    DocumentoDeCorrida(const DocumentoDeCorrida&) = delete;
    DocumentoDeCorrida& operator=(const DocumentoDeCorrida&) = delete;

    // Adds the pages of one document, on the template's sheet; throws ErrorDeReporte when the
    // file cannot be written.
    void Agrega(const Plantilla& plantilla, const QVector<PaginaMaquetada>& paginas);
    // Finishes and names the file; throws ErrorDeReporte, leaving nothing, when it is not whole.
    QString Termina();
    int Paginas() const { return paginas_; }
    const QString& Ruta() const { return ruta_; }

    // Why a written PDF is not whole: empty, or cut before its closing trailer; empty when whole.
    static QString FaltaAlPdf(const SalidaRevisada& salida);

private:
    void abre(const Plantilla& plantilla);

    QString ruta_;
    QString titulo_;
    std::unique_ptr<EscritorDeArchivo> archivo_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter pintor_;
    int paginas_ = 0;
};
