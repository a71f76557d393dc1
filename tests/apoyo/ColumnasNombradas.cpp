#include "apoyo/ColumnasNombradas.h"

#include "apoyo/BaseDePrueba.h"

#include <QPair>
#include <QSqlQuery>

namespace {

// The columns named for each host table; every other column of the stand-in schema is the
// host product's own.
const QList<QPair<QString, QStringList>>& columnasNombradas() {
    static const auto lista = [] {
        const auto de = [](const char* tabla, const char* columnas) {
            return qMakePair(QString::fromLatin1(tabla),
                             QString::fromLatin1(columnas).split(QLatin1Char(' ')));
        };
        return QList<QPair<QString, QStringList>>{
            de("configura", "SeriesEnRem VariosIVAs VariosImpAd AplicaIVA AplicaImpAd "
                            "PartidasXhojaRem"),
            de("generales", "Localidad2"),
            de("empresas", "BaseDeDatos clave Empresa NombreComercial Regimen RFC Calle "
                           "NumExterior NumInterior ReferenciaDomic Colonia Localidad Estado Pais "
                           "CP CiudadEstado Telefonos Calle2 NumExterior2 NumInterior2 "
                           "ReferenciaDomic2 Colonia2 Localidad2 Estado2 Pais2 CP2 Municipio2"),
            de("clientes", "Clave Nombre MetodoDePago Telefono1 Calle CP Colonia Ciudad Estado "
                           "RFC NumExterior NumInterior ReferenciaDomic Localidad Pais"),
            de("productos", "clave Bloqueado"),
            de("partidatallaocolor", "IdExterna Campo1 Campo2 Campo3"),
            de("remisiones", "Id Serie Factura Fecha Cliente Nombre Subtotal IVA ImpuestoAd "
                             "Descuento Desc1 Desc2 Desc3 Desc4 Desc5 Cargo1Cantidad "
                             "Cargo2Cantidad Cargo3Cantidad Retencion Anticipo Moneda Cancelada "
                             "Afectada Facturada MotivoCancelacion"),
            de("remisionesdetalle", "Id Partida Producto Descripcion Cantidad PrecioNeto "
                                    "PrecioBruto IVA ImpuestoAd BaseImpuestoAd ImporteImpuestoAd "
                                    "BaseIVA ImporteIVA IdExterna"),
            de("facturas", "Id Factura Serie Cliente Fecha Hora Vence Nombre Telefono Calle CP "
                           "Colonia Ciudad Estado RFC NumExterior NumInterior ReferenciaDomic "
                           "Localidad Pais LugarExpedicion Subtotal IVA Usuario MetodoDePago "
                           "ImpuestoAd Descuento ModoCreacion"),
            de("facturasdetalle", "Id Partida Descripcion Cantidad PrecioNeto PrecioBruto IVA "
                                  "Producto ImpuestoAd NumeroDePrecio"),
        };
    }();
    return lista;
}

} // namespace

void DejaSoloLasColumnasNombradas(BaseDePrueba& base) {
    for (const auto& [tabla, columnas] : columnasNombradas()) {
        QStringList ajenas;
        QSqlQuery q = base.conexion().consulta(
            QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE "
                           "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='%1'")
                .arg(tabla));
        while (q.next()) {
            if (!columnas.contains(q.value(0).toString(), Qt::CaseInsensitive)) {
                ajenas << QStringLiteral("DROP COLUMN ") + q.value(0).toString();
            }
        }
        if (!ajenas.isEmpty()) {
            base.conexion().ejecuta(
                QStringLiteral("ALTER TABLE %1 %2").arg(tabla, ajenas.join(u',')));
        }
    }
}
