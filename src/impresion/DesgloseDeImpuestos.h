#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <array>

class Conexion;
class Recordset;

// The tax breakdown of a printed document: one PorcenImpuestos row per tax type and rate and a
// Gravado row with the taxed and untaxed amounts after the document's discounts. Every figure
// is a sum of the lines' own figures in cents, so the rows add up to the document's taxes.

// A document's line as its print uses it: quantity, net price, IVA and additional tax rates,
// the figures a delivery note's line keeps (BaseImpuestoAd, ImporteImpuestoAd, BaseIVA,
// ImporteIVA; an invoice line's read as 0 and are computed), whether its product takes no
// discount and whether it comes from a size or colour variant (its IdExterna is set).
struct LineaImpresa {
    Decimal cantidad;
    Importe precio;
    Decimal tasaIva;
    Decimal tasaImpAd;
    std::array<Importe, 4> guardadas;
    bool bloqueado = false;
    bool deTallaOColor = false;
};
// The document's lines from that table in Partida order, in one statement.
QVector<LineaImpresa> LeeLineasImpresas(Conexion& host, const QString& tabla, qint16 tipoDocumento,
                                        const QString& id);
// The lines of several documents, by Id, each in Partida order, in a statement every few
// thousand documents.
QHash<qint32, QVector<LineaImpresa>> LeeLineasImpresas(Conexion& host, const QString& tabla,
                                                       qint16 tipoDocumento,
                                                       const QList<qint32>& ids);
// Writes the breakdown of the document whose header row is current in encabezado into the
// auxiliary file. The lines are read from tablaDetalle, the table the document is printed
// from; an empty name reads the host's own detail table of the document's kind. The store's
// tax rule is read from configura.
void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle = {});
// The same from the document's lines already read, under the tax rule given.
void DesgloseDeImpuestos(const Recordset& encabezado, const QVector<LineaImpresa>& lineas,
                         const QString& rutaAuxiliar, CifrasDeLinea::Reglas reglas);
