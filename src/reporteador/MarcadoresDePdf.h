#pragma once

#include <QString>
#include <QVector>

class QIODevice;

// The bookmarks (PDF outline) of a run's one PDF: one per document, with its name and its first
// page. Qt's writer makes no outline, so the written PDF is copied as it is with the outline
// added after it as an incremental update (libqpdf reads the pages and the trailer it needs).
class MarcadoresDePdf {
public:
    struct Marcador {
        QString titulo;
        int pagina = 0;
    };

    // The next document starts at that page (from 0).
    void Agrega(const QString& titulo, int pagina);

    // Writes the PDF at origen to destino with the outline, opened beside the pages when the
    // reader shows it; throws ErrorDeReporte when the PDF cannot be read whole, a page named is
    // not in it or destino takes no more. Without bookmarks the PDF is copied as it is.
    void Escribe(const QString& origen, QIODevice& destino) const;

private:
    QVector<Marcador> marcadores_;
};
