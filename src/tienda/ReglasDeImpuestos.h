#pragma once

#include "tienda/CifrasDeLinea.h"

#include <QtGlobal>

class Conexion;

// The store's tax rule, as configura keeps it: whether IVA and IEPS are charged on the amount
// with the other tax in it. Every job and the print read it here.

// The compounding flags (AplicaIVA, AplicaImpAd); both set counts as IVA only.
void LeeAplicaImpuestos(quint8& aplicaIva, quint8& aplicaImpAd, Conexion& conexionHost);
// The same flags as the rule of a line's figures.
CifrasDeLinea::Reglas ReglasDeImpuestos(Conexion& conexionHost);
