#pragma once

#include "reporteador/Plantilla.h"
#include "reporteador/ResolutorDePlantilla.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QVector>

// One thing to paint, placed on its page in millimetres, its text already cut into lines.
struct Trazo {
    ElementoDePlantilla::Tipo tipo = ElementoDePlantilla::Tipo::Texto;
    QRectF rect;
    QStringList lineas;
    double altoDeLinea = 0;
    double margenSuperior = 0; // before the first of several lines, as a single line would sit
    QString familia;
    double tamano = 9;
    bool negrita = false;
    bool cursiva = false;
    Qt::Alignment alineacion = Qt::AlignLeft;
    QColor color;
    QColor relleno;
    double grueso = 0.25;
    QImage imagen; // null when the file could not be read: the place stays blank
    bool estira = false;
};

struct PaginaMaquetada {
    QVector<Trazo> trazos;
};

// Lays documents out on pages before anything is painted, so the page count is known: page
// header and footer on every page, each document from a new page, detail rows never split and
// the column headings repeated on every page of a document, at most the template's rows per
// page, the document footer kept whole, pages numbered within each document. Within a band, a
// wrapped text or a list of rows that grows pushes down what lies under it in the same columns, and
// the band grows with it. Text is measured with fixed 1200 dpi metrics, so every output breaks
// pages alike.
class Maquetador {
public:
    // The template's images are read into imagenes, by path, once for as long as the caller
    // keeps it: a print run keeps them for all its notes.
    Maquetador(const Plantilla& plantilla, QHash<QString, QImage>& imagenes);

    QVector<PaginaMaquetada> Maqueta(const QVector<DatosDeDocumento>& documentos);

private:
    struct Medida {
        QVector<Trazo> trazos;
        double alto = 0;
    };
    // One element measured: what it paints, the room the template gives it and how much
    // taller than that it came out.
    struct Pieza {
        QVector<Trazo> trazos;
        QRectF marco;
        double crecimiento = 0;
    };

    Medida mide(const BandaDePlantilla& banda) const;
    Medida mide(const std::vector<ElementoDePlantilla>& elementos, double alto) const;
    Pieza mide(const ElementoDePlantilla& e) const;
    Pieza mideRenglones(const ElementoDePlantilla& e) const;
    Trazo trazoDeTexto(const ElementoDePlantilla& e) const;
    const QImage& imagen(const QString& nombre) const;
    QFont letra(const ElementoDePlantilla& e) const;
    void coloca(const Medida& m);
    void colocaRenglones(const DatosDeDocumento& d);
    // {Pagina} and {Paginas} of the pages of one document, from its first page.
    void numeraPaginas(qsizetype primera);
    void colocaSiCabe(const Medida& m);
    void abrePagina();
    void cierraPagina();
    double limite() const;

    const Plantilla& p_;
    mutable ResolutorDePlantilla valores_; // its list row changes while a band is measured
    QVector<PaginaMaquetada> paginas_;
    double y_ = 0;
    bool paginaAbierta_ = false;
    QHash<QString, QImage>& imagenes_;
};
