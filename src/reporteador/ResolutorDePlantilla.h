#pragma once

#include "reporteador/DatosDeDocumento.h"
#include "reporteador/Plantilla.h"

// What a template's texts and conditions come to within one document, one detail row and one
// row of a list being measured: fields, formulas, sums and page-independent formats.
class ResolutorDePlantilla {
public:
    explicit ResolutorDePlantilla(const Plantilla& plantilla);

    // The document and detail row the values are read from (nullptr: none).
    void EnDocumento(const DatosDeDocumento* documento) { documento_ = documento; }
    void EnRenglon(const DatosDeDocumento::Renglon* renglon) { renglon_ = renglon; }
    // The row of a list being measured, for "#"; 0 outside a list.
    void EnNumero(int numero) { numero_ = numero; }

    // The text of an element with its sums, fields and formulas put in; {Pagina} and
    // {Paginas} are left for the layout.
    QString Resuelve(const QString& texto, const ElementoDePlantilla& e) const;
    // A text of the document's main and single-row tables, dates as 2026-11-30: a file name.
    QString ResuelveEnDocumento(const QString& texto, const DatosDeDocumento& documento);
    // The value of an arithmetic of fields, formulas and numbers, * and / before + and -.
    double Calcula(const QString& expresion) const;
    bool Cumple(const Condicion& condicion) const;
    // The detail rows a page of the document takes; 0 when they fill each page.
    int PartidasPorHoja(const DatosDeDocumento& documento);
    static QString FormateaValor(const QVariant& valor, const ElementoDePlantilla& e);

private:
    bool cumple(const TerminoDeCondicion& termino) const;
    QString conNumero(const QString& texto) const;
    QVariant valorDeCampo(const QString& tabla, const QString& campo) const;

    const Plantilla& p_;
    const DatosDeDocumento* documento_ = nullptr;
    const DatosDeDocumento::Renglon* renglon_ = nullptr;
    int numero_ = 0;
};
