#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// A database of its own on the store's server, for printing a sample of one delivery note
// without writing to the store: the store's tables are views of its own, the note goes into
// the working tables, the template and the files it needs into a reportesbin of its own, the
// company row under this database's name, and the size and colour rows of the print into a
// partidatallaocolor of its own. Dropped when the object goes.
class BaseDeMuestra {
public:
    BaseDeMuestra(Conexion& tienda, const QString& baseTienda);
    ~BaseDeMuestra();
    BaseDeMuestra(const BaseDeMuestra&) = delete;
    BaseDeMuestra& operator=(const BaseDeMuestra&) = delete;

    const QString& nombre() const { return nombre_; }

    // Copies the note of that serie and folio (the first by Id, an active one before a
    // cancelled one) with its lines into tmpremisiones and tmpremisionesdetalle.
    void CopiaRemision(const QString& serie, int folio);
    // Copies those of the store's stored files that it has.
    void CopiaArchivos(const QStringList& nombres);

private:
    QString en(const QString& tabla) const;
    QString deLaTienda(const QString& tabla) const;
    void creaVistas();

    Conexion& tienda_;
    QString baseTienda_;
    QString nombre_;
};
