#pragma once

#include "impresion/DesgloseDeImpuestos.h"
#include "orvlib/ErrorOrvlib.h"
#include "tienda/Importe.h"

#include <QString>
#include <QtGlobal>
#include <array>

class Conexion;
class PreparativosDeImpresion;
class Recordset;

// A step after the note's document came out that failed (removing its size and colour rows):
// the note is printed; the error says what was left behind.
class ErrorDespuesDeImprimir : public ErrorOrvlib {
public:
    explicit ErrorDespuesDeImprimir(const ErrorOrvlib& e)
        : ErrorOrvlib(e) {}
};

// One delivery note to print: its record selection, kind (2 a delivery note), Id, tax breakdown
// (non-zero to print it), note text, the header and line tables it is read from, its name
// (series and folio), the bookmark of a run's one PDF, and its lines when they were read with
// those of the notes printed beside it (else they are read for it), and whether its size and
// colour rows were written with theirs (else they are written for it and removed after it).
struct RemisionAImprimir {
    const QVector<LineaImpresa>* lineas = nullptr;
    bool tallasDelBloque = false;
    QString seleccion;
    qint16 tipoDocumento = 2;
    qint32 id = 0;
    qint16 conDesglose = 0;
    QString textoNotas;
    QString tablaEncabezado;
    QString tablaDetalle;
    QString nombre;
};

// Prints one delivery note of the working tables in a print run (a single note is a run of one):
// works out its total, currency, page count, note text, company data and tax breakdown into the
// run's auxiliary file, emptied for it, prints the run's template through the report engine and
// removes what the print left behind. Returns only when the engine produced the document;
// anything that kept it from doing so is thrown, after the clean-up, and a clean-up that fails
// after the document came out is ErrorDespuesDeImprimir.
// The note's header row is the current row of encabezado, as the run's list of notes read it.
void ImprimeDocumento(const RemisionAImprimir& remision, const Recordset& encabezado,
                      Conexion& conexionHost, PreparativosDeImpresion& corrida);
// A note's lines as the template prints them: how many, and the sum of their amounts
// (quantity × price, each in cents); and how many come from size or colour variants, which
// alone need the partidatallaocolor rows.
struct PartidasImpresas {
    qint64 lineas = 0;
    Importe importe;
    qint64 deTallaOColor = 0;
};
PartidasImpresas SumaPartidas(const QVector<LineaImpresa>& lineas);
// The template's formulas of a discounted note's column: ImporteDePartidas, the lines' sum,
// and DescuentoDePartidas, what takes it to the subtotal, so the column reads down as a sum.
// A note without discounts leaves both empty and prints as one without them.
void FormulasDeDescuento(const Recordset& encabezado, Importe importeDePartidas,
                         std::array<QString, 21>& formulas);
// Yes/No question with the question icon; true on Yes.
bool Pregunta(const QString& pregunta, const QString& titulo, bool noPorDefecto);
// The free note text of a client ("CLI"), supplier ("PRO") or product (any other kind): its
// textos rows in key order, else the Notas of its own notes table; never fails.
QString TextoDeNotas(const QString& clave, const QString& tipo, Conexion& conexionHost);
// Subtotal + IVA + ImpuestoAd + the three charges + Retencion of the current header row.
double TotalDelDocumento(const Recordset& encabezado);
