#pragma once

class Conexion;

// The reprint jobs' working tables tmpremisiones and tmpremisionesdetalle: structural copies of
// the host's remisiones and remisionesdetalle, made from the host tables' own creation
// statements so their columns keep the host's order.
class TablasDeTrabajo {
public:
    // Drops and re-creates both tables, empty.
    static void Crea(Conexion& cnn);
    static void Borra(Conexion& cnn);
};
