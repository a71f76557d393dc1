#pragma once

class Conexion;

// The reprint jobs' working tables tmpremisiones and tmpremisionesdetalle: structural copies of
// the host's remisiones and remisionesdetalle made by the server (CREATE TABLE … LIKE), so
// columns, their order, types, keys, engine and character set are the host's exactly.
class TablasDeTrabajo {
public:
    // Drops and re-creates both tables, empty.
    static void Crea(Conexion& cnn);
    static void Borra(Conexion& cnn);
};
