#pragma once

#include "reporteador/OrigenDeDatos.h"
#include "reporteador/Plantilla.h"

#include <QColor>
#include <QHash>
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
};

struct PaginaMaquetada {
    QVector<Trazo> trazos;
};

// Lays documents out on pages before anything is painted, so the page count is known: page
// header and footer on every page, each document from a new page, detail rows never split and
// the column headings repeated on every page of a document, the document footer kept whole.
// Text is measured with fixed 1200 dpi metrics, so every output breaks pages alike.
class Maquetador {
public:
    explicit Maquetador(const Plantilla& plantilla);

    QVector<PaginaMaquetada> Maqueta(const QVector<DatosDeDocumento>& documentos);

    // The text of an element with its sums, fields, formulas and page numbers put in.
    QString Resuelve(const QString& texto, const ElementoDePlantilla& e) const;
    // The value of an arithmetic of fields and numbers, * and / before + and -.
    double Calcula(const QString& expresion) const;
    static QString FormateaValor(const QVariant& valor, const ElementoDePlantilla& e);
    // Text cut into lines that fit the width (mm) in that font.
    static QStringList Parte(const QString& texto, double anchoMm, const QFont& letra);
    static double AltoDeLinea(const QFont& letra);

private:
    struct Medida {
        QVector<Trazo> trazos;
        double alto = 0;
    };

    Medida mide(const BandaDePlantilla& banda) const;
    bool visible(const ElementoDePlantilla& e) const;
    QVariant valorDeCampo(const QString& tabla, const QString& campo) const;
    QFont letra(const ElementoDePlantilla& e) const;
    void coloca(const Medida& m);
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
};
