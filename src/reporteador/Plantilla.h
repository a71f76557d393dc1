#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

// A report template as the engine uses it: page, tables and how they link, formulas, and the
// bands with their elements. Positions and sizes are in millimetres from the band's top-left.
struct TablaDePlantilla {
    enum class Papel { Principal, Detalle, Busqueda, Unica };
    QString nombre;        // as the template names it (remisiones, Generales)
    bool deAccess = false; // read from the auxiliary file, not through ODBC
    Papel papel = Papel::Unica;
    QString campoPropio; // link: this table's column …
    QString tablaEnlace; // … equals that table's …
    QString campoEnlace; // … column
    QString orden;       // detail rows' order
};

struct ElementoDePlantilla {
    enum class Tipo { Texto, Linea, Caja };
    Tipo tipo = Tipo::Texto;
    double x = 0, y = 0, ancho = 0, alto = 0; // a line goes from (x, y) to (x + ancho, y + alto)
    QString texto;                            // with {Tabla.Campo}, {@Formula}, {Pagina}, {Paginas}
    double tamano = 0;                        // points; 0 takes the template's
    bool negrita = false;
    bool cursiva = false;
    Qt::Alignment alineacion = Qt::AlignLeft;
    QString formato; // number pattern for the fields of the text
    QString formatoFecha = QStringLiteral("dd/MM/yyyy");
    bool ajusta = false; // wraps and makes the band grow
    bool mayusculas = false;
    QString condicion; // {Tabla.Campo}: shown only when it holds a non-empty, non-zero value
    QColor color = Qt::black;
    QColor relleno; // boxes
    double grueso = 0.25;
};

struct BandaDePlantilla {
    double alto = 0;
    QVector<ElementoDePlantilla> elementos;
};

struct Plantilla {
    QString nombre;
    double anchoHoja = 215.9, altoHoja = 279.4;
    double margenIzq = 12, margenArr = 10, margenDer = 12, margenAba = 10;
    QString familia = QStringLiteral("Liberation Sans");
    double tamano = 9;
    QVector<TablaDePlantilla> tablas;
    QStringList formulas;
    QVector<QString> valoresDeFormulas;
    BandaDePlantilla encabezadoPagina, encabezadoDocumento, encabezadoDetalle, detalle,
        pieDocumento, piePagina;

    // -1 when the template has no table of that name (compared without regard to case).
    int indiceDeTabla(const QString& nombre) const;
    int indiceDeFormula(const QString& nombre) const;
    // The place of a table among the template's distinct table entries (kind and name compared
    // without regard to case), which is how a program numbers the table locations it sets.
    int indiceDeUbicacion(int tabla) const;
};
