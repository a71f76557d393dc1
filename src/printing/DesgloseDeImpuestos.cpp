#include "printing/DesgloseDeImpuestos.h"

#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"
#include "orvlib/Utilerias.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace {

float sencillo(const QVariant& v) {
    return static_cast<float>(v.toDouble());
}

// Adds one line's base and tax to the row of its type and rate, making the row when missing.
void acumula(Conexion& auxiliar, const QString& tipo, float tasa, double base, double impuesto) {
    const double porcentaje = static_cast<double>(tasa);
    auxiliar.consulta(QStringLiteral("INSERT OR IGNORE INTO PorcenImpuestos (Tipo, Porcentaje, "
                                     "Importe, Impuesto) VALUES (?, ?, 0, 0)"),
                      {tipo, porcentaje});
    auxiliar.consulta(QStringLiteral("UPDATE PorcenImpuestos SET Importe=Importe+?, "
                                     "Impuesto=Impuesto+? WHERE Tipo=? AND Porcentaje=?"),
                      {base, impuesto, tipo, porcentaje});
}

bool bloqueado(Conexion& host, const QString& producto) {
    Recordset rs;
    if (!BasesDD::AbrirTabla(rs, host,
                             Utilerias::CambXXX(QStringLiteral("productos where clave='XXX'"),
                                                Sentencias::Escapa(producto)),
                             QStringLiteral("Bloqueado"))) {
        return false;
    }
    return rs.campo(QStringLiteral("Bloqueado")).toInt() == 1;
}

// The rate columns of one type: prefix p n, Sub prefix n, prefix n for the first ten rows.
void columnasDeTasas(Conexion& auxiliar, const QString& prefijo,
                     QList<QPair<QString, QVariant>>& columnas) {
    const QString letra = prefijo.left(1);
    QSqlQuery q = auxiliar.consulta(
        QStringLiteral(
            "SELECT Tipo, Porcentaje, Importe, Impuesto FROM PorcenImpuestos WHERE Tipo>=?"),
        {letra});
    for (int n = 1; n <= 10 && q.next() && q.value(0).toString() == letra; ++n) {
        columnas.append({prefijo + QStringLiteral("p%1").arg(n), q.value(1)});
        columnas.append({QStringLiteral("Sub") + prefijo + QString::number(n), q.value(2)});
        columnas.append({prefijo + QString::number(n), q.value(3)});
    }
}

} // namespace

void LeeAplicaImpuestos(quint8& aplicaIva, quint8& aplicaImpAd, Conexion& conexionHost) {
    aplicaIva = static_cast<quint8>(
        BasesDD::LeeDato(QStringLiteral("AplicaIVA"), conexionHost, QStringLiteral("configura"))
            .toInt());
    aplicaImpAd = static_cast<quint8>(
        BasesDD::LeeDato(QStringLiteral("AplicaImpAd"), conexionHost, QStringLiteral("configura"))
            .toInt());
    if (aplicaIva == 1 && aplicaImpAd == 1) {
        aplicaImpAd = 0;
    }
}

void ImpuestosUnitarios(float precio, quint8 aplicaIva, quint8 aplicaImpAd, double& ivaUnitario,
                        double& impAdUnitario, float tasaIva, float tasaImpAd) {
    const float baseIva =
        aplicaIva == 1 ? static_cast<float>(precio + precio * tasaImpAd / 100) : precio;
    ivaUnitario = static_cast<double>(baseIva) * tasaIva / 100;
    const float baseImpAd =
        aplicaImpAd == 1 ? static_cast<float>(precio + precio * tasaIva / 100) : precio;
    impAdUnitario = static_cast<double>(baseImpAd) * tasaImpAd / 100;
}

void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle) {
    Conexion auxiliar;
    if (!BasesDD::AbreBdDAccess(auxiliar, rutaAuxiliar)) {
        throw ErrorOrvlib(3024, QStringLiteral("No se pudo abrir la base auxiliar"), rutaAuxiliar);
    }
    quint8 aplicaIva = 0;
    quint8 aplicaImpAd = 0;
    LeeAplicaImpuestos(aplicaIva, aplicaImpAd, conexionHost);
    double gravado = 0;
    double sinGravar = 0;
    const bool sinIva = encabezado.campo(QStringLiteral("IVA")).toDouble() == 0;
    const bool sinImpAd = encabezado.campo(QStringLiteral("ImpuestoAd")).toDouble() == 0;
    const QString tabla = !tablaDetalle.isEmpty() ? tablaDetalle
                          : tipoDocumento == 2    ? QStringLiteral("remisionesdetalle")
                                                  : QStringLiteral("facturasdetalle");
    Recordset lineas;
    BasesDD::AbrirTabla(lineas, conexionHost,
                        tabla + QStringLiteral(" where Id=") +
                            encabezado.campo(QStringLiteral("Id")).toString() +
                            QStringLiteral(" order by Partida"));
    auxiliar.bd().transaction();
    for (; !lineas.fin(); lineas.siguiente()) {
        QCoreApplication::processEvents();
        const bool sinDescuentos =
            bloqueado(conexionHost, lineas.campo(QStringLiteral("Producto")).toString());
        const double precioNeto = lineas.campo(QStringLiteral("PrecioNeto")).toDouble();
        const double cantidad = lineas.campo(QStringLiteral("Cantidad")).toDouble();
        auto importe = static_cast<float>(precioNeto * cantidad);
        for (int n = 1; n <= 5 && !sinDescuentos; ++n) {
            const double descuento = encabezado.campo(QStringLiteral("Desc%1").arg(n)).toDouble();
            if (descuento != 0) {
                importe = static_cast<float>(importe - importe * descuento / 100);
            }
        }
        const float tasaIva = sinIva ? 0.0F : sencillo(lineas.campo(QStringLiteral("IVA")));
        const float tasaImpAd =
            sinImpAd ? 0.0F : sencillo(lineas.campo(QStringLiteral("ImpuestoAd")));
        if (lineas.campo(QStringLiteral("IVA")).toDouble() == 0 &&
            lineas.campo(QStringLiteral("ImpuestoAd")).toDouble() == 0) {
            sinGravar += importe;
        } else {
            gravado += importe;
        }
        double ivaUnitario = 0;
        double impAdUnitario = 0;
        ImpuestosUnitarios(static_cast<float>(precioNeto), aplicaIva, aplicaImpAd, ivaUnitario,
                           impAdUnitario, tasaIva, tasaImpAd);
        acumula(auxiliar, QStringLiteral("I"), tasaIva, precioNeto * cantidad,
                cantidad * ivaUnitario);
        acumula(auxiliar, QStringLiteral("A"), tasaImpAd, precioNeto * cantidad,
                cantidad * impAdUnitario);
    }
    QList<QPair<QString, QVariant>> columnas = {{QStringLiteral("Gravado"), gravado},
                                                {QStringLiteral("SinGravar"), sinGravar}};
    columnasDeTasas(auxiliar, QStringLiteral("Adic"), columnas);
    columnasDeTasas(auxiliar, QStringLiteral("IVA"), columnas);
    Recordset fila;
    BasesDD::AbrirTabla(fila, auxiliar, QStringLiteral("Gravado LIMIT 0"));
    fila.agrega();
    for (const auto& [campo, valor] : columnas) {
        fila.asigna(campo, valor);
    }
    fila.guarda();
    auxiliar.bd().commit();
}
