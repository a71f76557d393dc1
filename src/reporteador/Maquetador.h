#pragma once

#include "reporteador/OrigenDeDatos.h"
#include "reporteador/Plantilla.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QVector>

// The data of one document: the main table's row, the rows of the single-row and looked-up
// tables, and its detail rows with the rows looked up for each.
struct DatosDeDocumento {
    struct Renglon {
        Fila fila;
        QHash<QString, Fila> busquedas; // by table name in lower case
    };
    Fila principal;
    QHash<QString, Fila> unicas;
    QVector<Renglon> detalle;
};

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
    explicit Maquetador(const Plantilla& plantilla);

    QVector<PaginaMaquetada> Maqueta(const QVector<DatosDeDocumento>& documentos);

    // The text of an element with its sums, fields, formulas and page numbers put in; with
    // partes, only its parts that have data, joined.
    QString Resuelve(const QString& texto, const ElementoDePlantilla& e) const;
    // A text of the document's main and single-row tables, dates as 2026-11-30: a file name.
    QString ResuelveEnDocumento(const QString& texto, const DatosDeDocumento& documento);
    // The value of an arithmetic of fields, formulas and numbers, * and / before + and -.
    double Calcula(const QString& expresion) const;
    bool Cumple(const Condicion& condicion) const;
    // The detail rows a page of the document takes; 0 when they fill each page.
    int PartidasPorHoja(const DatosDeDocumento& documento);
    static QString FormateaValor(const QVariant& valor, const ElementoDePlantilla& e);
    // Text cut into lines that fit the width (mm) in that font.
    static QStringList Parte(const QString& texto, double anchoMm, const QFont& letra);
    static double AltoDeLinea(const QFont& letra);

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
    bool cumple(const TerminoDeCondicion& termino) const;
    QString conNumero(const QString& texto) const;
    QVariant valorDeCampo(const QString& tabla, const QString& campo) const;
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
    const DatosDeDocumento* documento_ = nullptr;
    const DatosDeDocumento::Renglon* renglon_ = nullptr;
    QVector<PaginaMaquetada> paginas_;
    double y_ = 0;
    bool paginaAbierta_ = false;
    mutable int numero_ = 0; // the row of a list being measured, for "#"
    mutable QHash<QString, QImage> imagenes_;
};
