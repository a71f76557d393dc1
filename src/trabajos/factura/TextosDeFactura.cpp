#include "trabajos/factura/TextosDeFactura.h"

#include "orvlib/Formato.h"
#include "orvlib/libKwtm.h"
#include "tienda/Importe.h"
#include "trabajos/factura/DatosDeFactura.h"

#include <cmath>

QString TextosDeFactura::Parametros(const DatosDeFactura& datos) {
    return QStringLiteral("serie '%1', cliente '%2', fecha %3, folio propuesto %4, total %5")
        .arg(datos.serie, datos.cliente, libKwtm::TextoDeFecha(datos.fecha))
        .arg(datos.folioPropuesto)
        .arg(Formato::Dinero((datos.subtotal + datos.iva + datos.ieps).ADouble()));
}

QString TextosDeFactura::Resumen(const TotalesDeFactura& t) {
    return QStringLiteral("%1 remisiones, %2 partidas copiadas; total %3, reducido %4")
        .arg(t.remisiones)
        .arg(t.partidas)
        .arg(Formato::Dinero((t.totalAntes()).ADouble()),
             Formato::Dinero((t.totalDespues()).ADouble()));
}

QString TextosDeFactura::ReduccionEfectiva(const TotalesDeFactura& t, double porcentaje) {
    const double antes = t.totalAntes().ADouble();
    if (antes <= 0) {
        return {};
    }
    // Tenths as the clerk reads them: 6.66 shows 6.7, and 10 asked is 10.0.
    const double efectiva = std::round((1 - t.totalDespues().ADouble() / antes) * 1000) / 10;
    if (efectiva == std::round(porcentaje * 10) / 10) {
        return {};
    }
    return QStringLiteral("reducción efectiva %1 %: las cantidades se redondean a enteros")
        .arg(efectiva, 0, 'f', 1);
}

QString TextosDeFactura::Creada(const FacturaCreada& creada) {
    return QStringLiteral("Factura creada '%1%2'").arg(creada.serie).arg(creada.folio);
}

QString TextosDeFactura::Traza(const FacturaCreada& creada) {
    return QStringLiteral("factura %1%2 (Id %3)")
        .arg(creada.serie)
        .arg(creada.folio)
        .arg(creada.id);
}

QString TextosDeFactura::AvisoSinTransaccion(const QStringList& tablas) {
    if (tablas.isEmpty()) {
        return {};
    }
    return QStringLiteral("Atención: estas tablas no admiten transacciones: %1. Si algo fallara "
                          "a la mitad, lo que ya se hubiera escrito en ellas no se podría "
                          "deshacer.")
        .arg(tablas.join(QStringLiteral(", ")));
}

QString TextosDeFactura::Confirmacion(const DatosDeFactura& datos, const QString& nombreDelCliente,
                                      int remisiones) {
    QString cliente = datos.cliente.trimmed();
    if (!nombreDelCliente.isEmpty()) {
        cliente += QStringLiteral(" - ") + nombreDelCliente;
    }
    return QStringLiteral("Confirme si desea generar la factura con esta información:\r\n\r\n") +
           QStringLiteral("Factura:\t%1%2\r\n").arg(datos.serie).arg(datos.folioPropuesto) +
           QStringLiteral("Cliente:\t%1\r\n").arg(cliente) +
           QStringLiteral("Fecha:\t%1\r\n").arg(libKwtm::TextoDeFecha(datos.fecha)) +
           QStringLiteral("Remisiones:\t%1\r\n").arg(remisiones) +
           QStringLiteral("Subtotal:\t%1\r\nI. V. A.:\t%2\r\nIEPS:\t%3\r\nTotal:\t%4")
               .arg(Formato::Dinero((datos.subtotal).ADouble()),
                    Formato::Dinero((datos.iva).ADouble()), Formato::Dinero((datos.ieps).ADouble()),
                    Formato::Dinero((datos.subtotal + datos.iva + datos.ieps).ADouble()));
}
