#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// Prints one of the store's delivery notes with a template source that is not stored, through
// the reprint jobs' print run (ImpresionDeRemisiones, the print driver and the report engine)
// on a scratch database of its own (BaseDeMuestra), to a PDF file, PNG pages or the preview
// window. The store's database is only read.
class MuestraDePlantilla {
public:
    enum class Salida { Pdf, Png, Ventana };

    // tienda is open on the store's database, the one the shared BasesDD names.
    explicit MuestraDePlantilla(Conexion& tienda);

    // The files written: the PDF at destino, or the PNG pages (destino itself for one page,
    // else with -1, -2… before its extension); none for the window. Throws with the reason
    // when the template cannot be read or nothing was printed.
    QStringList Muestra(const QString& fuente, const QString& serie, int folio, Salida salida,
                        const QString& destino = {});

    // Where the PNG page n of m goes for a destination.
    static QString RutaDePagina(const QString& destino, int n, int m);

private:
    Conexion& tienda_;
};
