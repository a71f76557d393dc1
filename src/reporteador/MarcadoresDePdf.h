#pragma once

#include <QString>
#include <QVector>

class QIODevice;

// The bookmarks (PDF outline) of a run's one PDF: one per document, with its name and its first
// page. Qt's writer makes no outline, so the written PDF is copied once with it added (libqpdf:
// pages, fonts and compressed streams pass through as they are).
class MarcadoresDePdf {
public:
    // The next document starts at that page (from 0).
    void Agrega(const QString& titulo, int pagina);
    bool Vacios() const { return marcadores_.isEmpty(); }

    // Reads the PDF at origen and writes it to destino with the outline, opened beside the pages
    // when the reader shows it; throws ErrorDeReporte when the PDF cannot be read or a page named
    // is not in it.
    void Escribe(const QString& origen, QIODevice& destino) const;

private:
    struct Marcador {
        QString titulo;
        int pagina = 0;
    };
    QVector<Marcador> marcadores_;
};
