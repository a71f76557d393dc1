#include "impresion/DesgloseDeImpuestos.h"

#include "impresion/AuxiliarDeLaCorrida.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"
#include "tienda/ReglasDeImpuestos.h"

#include <QSqlQuery>
#include <array>
#include <map>
#include <utility>

namespace {

struct Renglon {
    Importe base;
    Importe impuesto;
};

// Rows by type letter and rate: the A rows before the I rows, each by ascending rate, as the
// auxiliary table keeps them.
using Renglones = std::map<std::pair<QChar, Decimal>, Renglon>;

Importe importe(const QSqlQuery& q, int columna) {
    return Importe::DeVariant(q.value(columna));
}

Decimal decimal(const QSqlQuery& q, int columna) {
    return Decimal::DeVariant(q.value(columna));
}

// The lines with what the breakdown needs of each, and whether its product takes no discount,
// in one statement. Invoice lines keep no figures of their own: those read as 0 and are
// computed.
QSqlQuery leeLineas(Conexion& host, const QString& tabla, qint16 tipoDocumento, const QString& id) {
    const QString guardadas = tipoDocumento == 2
                                  ? QStringLiteral("d.BaseImpuestoAd, d.ImporteImpuestoAd, "
                                                   "d.BaseIVA, d.ImporteIVA")
                                  : QStringLiteral("0, 0, 0, 0");
    return host.consulta(
        QStringLiteral("SELECT d.Cantidad, d.PrecioNeto, d.IVA, d.ImpuestoAd, %1, (SELECT "
                       "p.Bloqueado FROM productos p WHERE p.clave=d.Producto LIMIT 1) FROM %2 d "
                       "WHERE d.Id=%3 ORDER BY d.Partida")
            .arg(guardadas, Sentencias::Nombre(tabla), id));
}

void acumula(Renglones& renglones, QChar tipo, Decimal tasa, Importe base, Importe impuesto) {
    Renglon& r = renglones[{tipo, tasa}];
    r.base += base;
    r.impuesto += impuesto;
}

// The rate columns of one type: prefix p n, Sub prefix n, prefix n for the first ten rows.
void columnasDeTasas(const Renglones& renglones, const QString& prefijo,
                     QList<QPair<QString, QVariant>>& columnas) {
    const QChar letra = prefijo.at(0);
    int n = 0;
    for (const auto& [clave, r] : renglones) {
        if (clave.first != letra || ++n > 10) {
            continue;
        }
        columnas.append({prefijo + QStringLiteral("p%1").arg(n), clave.second.ADouble()});
        columnas.append({QStringLiteral("Sub") + prefijo + QString::number(n), r.base.ADouble()});
        columnas.append({prefijo + QString::number(n), r.impuesto.ADouble()});
    }
}

void escribe(Conexion& auxiliar, const Renglones& renglones,
             QList<QPair<QString, QVariant>> columnas) {
    for (const auto& [clave, r] : renglones) {
        auxiliar.consulta(
            QStringLiteral("INSERT INTO PorcenImpuestos (Tipo, Porcentaje, "
                           "Importe, Impuesto) VALUES (?, ?, ?, ?)"),
            {QString(clave.first), clave.second.ADouble(), r.base.ADouble(), r.impuesto.ADouble()});
    }
    columnasDeTasas(renglones, QStringLiteral("Adic"), columnas);
    columnasDeTasas(renglones, QStringLiteral("IVA"), columnas);
    Recordset fila;
    BasesDD::AbrirTabla(fila, auxiliar, QStringLiteral("Gravado LIMIT 0"));
    fila.agrega();
    for (const auto& [campo, valor] : columnas) {
        fila.asigna(campo, valor);
    }
    fila.guarda();
}

} // namespace

void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle,
                         std::optional<CifrasDeLinea::Reglas> reglasDeLaCorrida) {
    Conexion propia;
    Conexion& auxiliar = AuxiliarDeLaCorrida::Abre(rutaAuxiliar, propia);
    const CifrasDeLinea::Reglas reglas =
        reglasDeLaCorrida ? *reglasDeLaCorrida : ReglasDeImpuestos(conexionHost);
    // A document issued without a tax puts all its lines at rate 0 for that tax.
    const bool sinIva = Importe::DeVariant(encabezado.campo(QStringLiteral("IVA"))) == Importe();
    const bool sinImpAd =
        Importe::DeVariant(encabezado.campo(QStringLiteral("ImpuestoAd"))) == Importe();
    CifrasDeLinea::Descuentos descuentos;
    for (int n = 0; n < 5; ++n) {
        descuentos.tasas[n] =
            Decimal::DeVariant(encabezado.campo(QStringLiteral("Desc%1").arg(n + 1)));
    }
    const QString tabla = !tablaDetalle.isEmpty() ? tablaDetalle
                          : tipoDocumento == 2    ? QStringLiteral("remisionesdetalle")
                                                  : QStringLiteral("facturasdetalle");
    QSqlQuery lineas = leeLineas(conexionHost, tabla, tipoDocumento,
                                 encabezado.campo(QStringLiteral("Id")).toString());
    Importe gravado;
    Importe sinGravar;
    Renglones renglones;
    while (lineas.next()) {
        const Decimal tasaIva = decimal(lineas, 2);
        const Decimal tasaImpAd = decimal(lineas, 3);
        const bool bloqueado = lineas.value(8).toInt() == 1;
        const CifrasDeLinea c =
            CifrasDeLinea::Completa({Importe(), Importe(), importe(lineas, 4), importe(lineas, 5),
                                     importe(lineas, 6), importe(lineas, 7)},
                                    decimal(lineas, 0), importe(lineas, 1),
                                    sinIva ? Decimal() : tasaIva, sinImpAd ? Decimal() : tasaImpAd,
                                    reglas, bloqueado ? CifrasDeLinea::Descuentos() : descuentos);
        (tasaIva == Decimal() && tasaImpAd == Decimal() ? sinGravar : gravado) += c.neto;
        acumula(renglones, QLatin1Char('I'), sinIva ? Decimal() : tasaIva, c.baseIva,
                sinIva ? Importe() : c.importeIva);
        acumula(renglones, QLatin1Char('A'), sinImpAd ? Decimal() : tasaImpAd, c.baseImpAd,
                sinImpAd ? Importe() : c.importeImpAd);
    }
    // The run's connection outlives the note: a breakdown half written is taken back.
    auxiliar.bd().transaction();
    try {
        escribe(auxiliar, renglones,
                {{QStringLiteral("Gravado"), gravado.ADouble()},
                 {QStringLiteral("SinGravar"), sinGravar.ADouble()}});
    } catch (...) {
        auxiliar.bd().rollback();
        throw;
    }
    auxiliar.bd().commit();
}
