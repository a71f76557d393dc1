#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class Conexion;
class Recordset;

// The tax breakdown of a printed document: one PorcenImpuestos row per tax type and rate and a
// Gravado row with the taxed and untaxed amounts after the document's discounts. Every figure
// is a sum of the lines' own figures in cents, so the rows add up to the document's taxes.

// Writes the breakdown of the document whose header row is current in encabezado into the
// auxiliary file. The lines are read from tablaDetalle, the table the document is printed
// from; an empty name reads the host's own detail table of the document's kind. The store's
// tax rule is read from configura unless a print run gives the one it read.
void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle = {},
                         std::optional<CifrasDeLinea::Reglas> reglas = {});
