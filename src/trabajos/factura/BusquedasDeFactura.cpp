#include "trabajos/factura/BusquedasDeFactura.h"

#include "orvlib/BasesDD.h"
#include "orvlib/Recordset.h"
#include "orvlib/Sentencias.h"
#include "orvlib/libKwtm.h"
#include "servicios/Rechazo.h"

#include <limits>

qint64 BusquedasDeFactura::SiguienteFolio(Conexion& cnn, const QString& serie) {
    const QVariant ultimo =
        BasesDD::LeeDato(QStringLiteral("FA-") + serie, cnn, QStringLiteral("sistema"));
    return static_cast<qint64>(libKwtm::kwVal(ultimo.toString())) + 1;
}

BusquedasDeFactura::Cliente BusquedasDeFactura::BuscaCliente(Conexion& cnn, const QString& texto,
                                                             bool conMetodo) {
    Cliente cliente;
    const QString clave = texto.trimmed();
    if (clave.isEmpty()) {
        return cliente;
    }
    Recordset rs;
    if (BasesDD::AbrirTabla(
            rs, cnn, QStringLiteral("clientes where Clave=") + Sentencias::Texto(clave),
            conMetodo ? QStringLiteral("Nombre,MetodoDePago") : QStringLiteral("Nombre"))) {
        cliente.conocido = true;
        cliente.nombre = rs.campo(QStringLiteral("Nombre")).toString();
        if (conMetodo) {
            cliente.metodoDePago =
                ClaveMetodoPago(rs.campo(QStringLiteral("MetodoDePago")).toString());
        }
    }
    return cliente;
}

QString BusquedasDeFactura::AvisoDeCliente(const QString& texto, bool conocido) {
    if (conocido) {
        return {};
    }
    const QString clave = texto.trimmed();
    return clave.isEmpty() ? QStringLiteral("Escriba la clave del cliente para facturar.")
                           : QStringLiteral("No hay un cliente con la clave «%1»; escriba una "
                                            "clave del catálogo de clientes.")
                                 .arg(clave);
}

QString BusquedasDeFactura::AvisoDeClienteDeRemisiones(const QString& texto) {
    return QStringLiteral("No hay un cliente con la clave «%1»; escriba una clave del catálogo "
                          "de clientes, o deje el campo vacío para las remisiones de todos.")
        .arg(texto.trimmed());
}

qint32 BusquedasDeFactura::Folio(qint64 folio, const QString& serie) {
    if (folio <= 0 || folio > std::numeric_limits<qint32>::max()) {
        throw Rechazo(QStringLiteral("El folio %1 de la serie «%2» no cabe en los folios de las "
                                     "facturas (1 a 2147483647); revise el último folio de "
                                     "la serie en Orvane.")
                          .arg(folio)
                          .arg(serie));
    }
    return static_cast<qint32>(folio);
}

QString BusquedasDeFactura::ClaveMetodoPago(const QString& texto) {
    return texto.mid(2, 3) == QLatin1String(" - ") ? texto.left(2) : texto;
}
