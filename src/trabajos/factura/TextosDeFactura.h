#pragma once

#include <QString>
#include <QStringList>

struct DatosDeFactura;
struct FacturaCreada;
struct TotalesDeFactura;

// What the invoice job says, the same from the window and the command line: the trail's
// inputs and outcomes, the question before the invoice, the warning on tables without
// transactions and the message of an invoice made.
class TextosDeFactura {
public:
    static QString Parametros(const DatosDeFactura& datos);
    static QString Resumen(const TotalesDeFactura& totales);
    // The reduction the totals show when, to one decimal, it is not the percentage asked:
    // "reducción efectiva 6.7 %: las cantidades se redondean a enteros"; "" when it is, or
    // with nothing before it.
    static QString ReduccionEfectiva(const TotalesDeFactura& totales, double porcentaje);
    static QString Creada(const FacturaCreada& creada);
    static QString Traza(const FacturaCreada& creada);
    // The warning before an invoice that could be left half written; empty when every table
    // takes transactions.
    static QString AvisoSinTransaccion(const QStringList& tablas);
    // The question before "Generar factura"; nombreDelCliente as the window shows it.
    static QString Confirmacion(const DatosDeFactura& datos, const QString& nombreDelCliente,
                                int remisiones);
};
