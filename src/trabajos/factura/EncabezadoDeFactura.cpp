#include "trabajos/factura/EncabezadoDeFactura.h"

#include "orvlib/Conexion.h"
#include "trabajos/factura/DatosDeFactura.h"

#include <QSqlQuery>

namespace {

// A text for a NOT NULL column: an absent text is stored empty, never as NULL.
QString texto(const QString& t) {
    return t.isNull() ? QStringLiteral("") : t;
}

// The client's columns, as clientes and facturas name them.
const char* const kDeCliente[][2] = {
    {"Nombre", "Nombre"},
    {"Telefono1", "Telefono"},
    {"Calle", "Calle"},
    {"CP", "CP"},
    {"Colonia", "Colonia"},
    {"Ciudad", "Ciudad"},
    {"Estado", "Estado"},
    {"RFC", "RFC"},
    {"NumExterior", "NumExterior"},
    {"NumInterior", "NumInterior"},
    {"ReferenciaDomic", "ReferenciaDomic"},
    {"Localidad", "Localidad"},
    {"Pais", "Pais"},
};

void agregaCliente(Conexion& cnn, const QString& clave, EncabezadoDeFactura& e) {
    QStringList leidas;
    for (const auto& columna : kDeCliente) {
        leidas << QString::fromLatin1(columna[0]);
    }
    QSqlQuery cliente = cnn.consulta(QStringLiteral("SELECT %1 FROM clientes WHERE Clave=?")
                                         .arg(leidas.join(QStringLiteral(", "))),
                                     {clave});
    if (!cliente.next()) {
        return;
    }
    for (int i = 0; i < leidas.size(); ++i) {
        e.columnas << QString::fromLatin1(kDeCliente[i][1]);
        e.valores << cliente.value(i);
    }
    e.columnas << QStringLiteral("LugarExpedicion");
    e.valores << texto(cnn.valor(QStringLiteral("SELECT Localidad2 FROM generales LIMIT 1")));
}

} // namespace

EncabezadoDeFactura EncabezadoDeFactura::Lee(Conexion& cnn, const DatosDeFactura& datos,
                                             qint32 folio, const QTime& hora) {
    EncabezadoDeFactura e;
    e.columnas = {QStringLiteral("Factura"), QStringLiteral("Serie"), QStringLiteral("Cliente"),
                  QStringLiteral("Fecha"),   QStringLiteral("Hora"),  QStringLiteral("Vence")};
    e.valores = {folio,
                 texto(datos.serie),
                 texto(datos.cliente),
                 datos.fecha,
                 hora.toString(QStringLiteral("hh:mm:ss")),
                 datos.fecha};
    agregaCliente(cnn, datos.cliente, e);
    e.columnas << QStringLiteral("Subtotal") << QStringLiteral("IVA") << QStringLiteral("Usuario")
               << QStringLiteral("MetodoDePago") << QStringLiteral("ImpuestoAd")
               << QStringLiteral("Descuento") << QStringLiteral("ModoCreacion");
    e.valores << datos.subtotal.TextoSql() << datos.iva.TextoSql() << QStringLiteral("")
              << texto(datos.metodoDePago) << datos.ieps.TextoSql() << QStringLiteral("0") << 16;
    return e;
}
