#pragma once

#include "orvlib/Sentencias.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

// A report template as the engine uses it: page, tables and how they link, formulas, and the
// bands with their elements. Positions and sizes are in millimetres from the band's top-left.
// Every part remembers the line of the source it came from, for the messages of a check.
struct TablaDePlantilla {
    enum class Papel { Principal, Detalle, Busqueda, Unica };
    QString nombre;        // as the template names it (remisiones, Generales)
    bool deAccess = false; // read from the auxiliary file, not through ODBC
    Papel papel = Papel::Unica;
    QString campoPropio; // link: this table's column …
    QString tablaEnlace; // … equals that table's …
    QString campoEnlace; // … column
    QString orden;       // detail rows' order
    int linea = 0;

    // The rules for names and texts of the database the table is read from.
    Sentencias::Motor motor() const {
        return deAccess ? Sentencias::Motor::SQLite : Sentencias::Motor::MySQL;
    }
};

// One {…} of a condition, or its negation: it holds when it gives a non-empty, non-zero value.
struct TerminoDeCondicion {
    bool negado = false;
    QString expresion; // with its braces: {Tabla.Campo}, {@Formula}, {a.b+c.d}
};

// Terms joined by "y" within an alternative, alternatives joined by "o"; empty always holds.
struct Condicion {
    QVector<QVector<TerminoDeCondicion>> alternativas;
    bool vacia() const { return alternativas.isEmpty(); }
};

struct ElementoDePlantilla {
    enum class Tipo { Texto, Linea, Caja, Imagen, Renglones };
    Tipo tipo = Tipo::Texto;
    double x = 0, y = 0, ancho = 0, alto = 0; // a line goes from (x, y) to (x + ancho, y + alto)
    QString texto;     // with {Tabla.Campo}, {@Formula}, {Pagina}, {Paginas}; an image's file name
    double tamano = 0; // points; 0 takes the template's
    bool negrita = false;
    bool cursiva = false;
    Qt::Alignment alineacion = Qt::AlignLeft;
    QString formato; // number pattern for the fields of the text
    QString formatoFecha = QStringLiteral("dd/MM/yyyy");
    bool ajusta = false; // wraps and makes the band grow
    bool mayusculas = false;
    // With it, "|" divides the text into parts: a part whose {…} are all empty is left out,
    // the others are joined with this separator ("Calle|Col. …" with ", ").
    QString partes;
    Condicion condicion;
    QColor color = Qt::black;
    QColor relleno; // boxes
    double grueso = 0.25;
    bool estira = false; // an image fills its box instead of keeping its proportions
    // A list of rows: numbers desde to hasta, each shown when its condition holds, the rows
    // that show stacked from (x, y) one under the other, alto high each. Its elements are
    // placed from the row's top-left and "#" in their {…} stands for the row's number.
    int desde = 0;
    int hasta = 0;
    std::vector<ElementoDePlantilla> renglon;
    int linea = 0;
};

struct BandaDePlantilla {
    double alto = 0;
    std::vector<ElementoDePlantilla> elementos;
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
    // Detail rows per page: a number or a {…} of the document; empty or not above 0 lets the
    // rows fill each page. Fixed reserves the room of that many rows on every page.
    QString partidasPorHoja;
    bool partidasFijas = false;
    int lineaPartidas = 0;
    // Name of the files a document is written to, a text of the document's fields.
    QString archivo;
    int lineaArchivo = 0;
    // The folder of the template file, where the images it places are.
    QString carpeta;

    // -1 when the template has no table of that name (compared without regard to case).
    int indiceDeTabla(const QString& nombre) const;
    int indiceDeFormula(const QString& nombre) const;
    // The place of a table among the template's distinct table entries (kind and name compared
    // without regard to case), which is how a program numbers the table locations it sets.
    int indiceDeUbicacion(int tabla) const;
    // The file names of the images the template places, each once.
    QStringList imagenes() const;
};
