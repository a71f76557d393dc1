#pragma once

#include <QString>
#include <QtGlobal>

class Conexion;
class Recordset;

// The tax breakdown of a printed document: one PorcenImpuestos row per tax type and rate and a
// Gravado row with the taxed and untaxed amounts after the document's discounts.

// The compounding flags of configura (AplicaIVA, AplicaImpAd); both set counts as IVA only.
void LeeAplicaImpuestos(quint8& aplicaIva, quint8& aplicaImpAd, Conexion& conexionHost);
// The IVA and additional tax of one unit price, each on a base that includes the other tax
// when its flag says so; the steps are rounded to single precision as the host computes them.
void ImpuestosUnitarios(float precio, quint8 aplicaIva, quint8 aplicaImpAd, double& ivaUnitario,
                        double& impAdUnitario, float tasaIva, float tasaImpAd);
// Writes the breakdown of the document whose header row is current in encabezado into the
// auxiliary file. The lines are read from tablaDetalle, the table the document is printed
// from; an empty name reads the host's own detail table of the document's kind.
void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle = {});
