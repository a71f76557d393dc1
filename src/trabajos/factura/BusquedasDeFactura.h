#pragma once

#include <QString>

class Conexion;

// What the invoice job looks up in the host, also while the clerk types: the folio an invoice
// of a series would get, and a client's name and payment method.
class BusquedasDeFactura {
public:
    struct Cliente {
        bool conocido = false;
        QString nombre;
        QString metodoDePago; // its code, as ClaveMetodoPago gives it
    };

    // The counter stored in sistema under "FA-" + the series (as typed), plus 1.
    static qint64 SiguienteFolio(Conexion& cnn, const QString& serie);
    // The folio as the invoices hold it; refuses (Rechazo) one outside 1 … 2147483647.
    static qint32 Folio(qint64 folio, const QString& serie);
    // The client of the code (trimmed); not known when the code is empty or not in the
    // catalogue. The payment method is read only when asked.
    static Cliente BuscaCliente(Conexion& cnn, const QString& texto, bool conMetodo);
    // Why an invoice cannot go to the code; empty when the catalogue knows it.
    static QString AvisoDeCliente(const QString& texto, bool conocido);
    // Why the notes cannot be filtered by a code the catalogue does not know.
    static QString AvisoDeClienteDeRemisiones(const QString& texto);
    // "01 - Efectivo" gives "01"; a text without " - " at the third character is kept whole.
    static QString ClaveMetodoPago(const QString& texto);
};
