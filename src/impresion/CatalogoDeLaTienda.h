#pragma once

#include "reporteador/RevisorDePlantilla.h"

#include <QByteArray>
#include <QHash>

class Conexion;

// What a store offers a delivery-note template, as a print will read it: the tables of the
// database the program works on (the note's own through remisiones and remisionesdetalle, whose
// structure the working copies have), the auxiliary file's tables as Auxiliar.MDB is stored in
// reportesbin, and the files stored there. Files about to be stored (by name) count as stored,
// in place of any stored copy.
class CatalogoDeLaTienda {
public:
    static CatalogoDeDatos Lee(Conexion& tienda, const Plantilla& plantilla,
                               const QHash<QString, QByteArray>& porGuardar = {});
};
