#pragma once

#include <QStringList>
#include <QTime>
#include <QVariantList>

class Conexion;
struct DatosDeFactura;

// The columns and values of an invoice's header: the clerk's series, client, date and totals,
// the client's details from the catalogue and the store's place of issue. Read only; the
// lengths check and the invoice's INSERT share it.
struct EncabezadoDeFactura {
    QStringList columnas;
    QVariantList valores;

    static EncabezadoDeFactura Lee(Conexion& cnn, const DatosDeFactura& datos, qint32 folio,
                                   const QTime& hora);
};
