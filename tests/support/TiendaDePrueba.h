#pragma once

class BaseDePrueba;
class CarpetaDePrueba;

// What printing needs around a test database, as an installation has it: the shared objects
// and paths of the process, the two ODBC data sources, the delivery-note template and the
// auxiliary database template in reportesbin, currencies, the company row and the settings row.
void PreparaImpresion(CarpetaDePrueba& carpeta, BaseDePrueba& base);
// Stores one template source or schema of templates/ in the database's reportesbin.
void GuardaPlantilla(BaseDePrueba& base, const char* archivo);
