#include "impresion/DesgloseDeImpuestos.h"

#include "impresion/AuxiliarDeLaCorrida.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/ListasDeValores.h"
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
        auxiliar.ejecuta(
            QStringLiteral("INSERT INTO PorcenImpuestos (Tipo, Porcentaje, "
                           "Importe, Impuesto) VALUES (?, ?, ?, ?)"),
            {QString(clave.first), clave.second.ADouble(), r.base.ADouble(), r.impuesto.ADouble()});
    }
    columnasDeTasas(renglones, QStringLiteral("Adic"), columnas);
    columnasDeTasas(renglones, QStringLiteral("IVA"), columnas);
    Recordset fila;
    fila.abreParaAgregar(auxiliar, QStringLiteral("Gravado"));
    fila.agrega();
    for (const auto& [campo, valor] : columnas) {
        fila.asigna(campo, valor);
    }
    fila.guarda();
}

} // namespace

QVector<LineaImpresa> LeeLineasImpresas(Conexion& host, const QString& tabla, qint16 tipoDocumento,
                                        const QString& id) {
    return LeeLineasImpresas(host, tabla, tipoDocumento, QList<qint32>{id.toInt()})
        .value(id.toInt());
}

QHash<qint32, QVector<LineaImpresa>> LeeLineasImpresas(Conexion& host, const QString& tabla,
                                                       qint16 tipoDocumento,
                                                       const QList<qint32>& ids) {
    const QString deNota = tipoDocumento == 2 ? QStringLiteral("d.BaseImpuestoAd, "
                                                               "d.ImporteImpuestoAd, d.BaseIVA, "
                                                               "d.ImporteIVA, d.IdExterna<>''")
                                              : QStringLiteral("0, 0, 0, 0, 0");
    QHash<qint32, QVector<LineaImpresa>> porDocumento;
    for (const QString& lista : ListasDeValores::Lotes(ids)) {
        QSqlQuery q = host.consulta(
            QStringLiteral("SELECT d.Cantidad, d.PrecioNeto, d.IVA, d.ImpuestoAd, %1, (SELECT "
                           "p.Bloqueado FROM productos p WHERE p.clave=d.Producto LIMIT 1), d.Id "
                           "FROM %2 d WHERE d.Id IN (%3) ORDER BY d.Id, d.Partida")
                .arg(deNota, Sentencias::Nombre(tabla), lista));
        while (q.next()) {
            LineaImpresa l;
            l.cantidad = decimal(q, 0);
            l.precio = importe(q, 1);
            l.tasaIva = decimal(q, 2);
            l.tasaImpAd = decimal(q, 3);
            for (int i = 0; i < 4; ++i) {
                l.guardadas[static_cast<std::size_t>(i)] = importe(q, 4 + i);
            }
            l.deTallaOColor = q.value(8).toInt() == 1;
            l.bloqueado = q.value(9).toInt() == 1;
            porDocumento[q.value(10).toInt()].append(l);
        }
    }
    return porDocumento;
}

void DesgloseDeImpuestos(qint16 tipoDocumento, Conexion& conexionHost, const Recordset& encabezado,
                         const QString& rutaAuxiliar, const QString& tablaDetalle) {
    const QString tabla = !tablaDetalle.isEmpty() ? tablaDetalle
                          : tipoDocumento == 2    ? QStringLiteral("remisionesdetalle")
                                                  : QStringLiteral("facturasdetalle");
    DesgloseDeImpuestos(encabezado,
                        LeeLineasImpresas(conexionHost, tabla, tipoDocumento,
                                          encabezado.campo(QStringLiteral("Id")).toString()),
                        rutaAuxiliar, ReglasDeImpuestos(conexionHost));
}

void DesgloseDeImpuestos(const Recordset& encabezado, const QVector<LineaImpresa>& lineas,
                         const QString& rutaAuxiliar, CifrasDeLinea::Reglas reglas) {
    Conexion propia;
    Conexion& auxiliar = AuxiliarDeLaCorrida::Abre(rutaAuxiliar, propia);
    // A document issued without a tax puts all its lines at rate 0 for that tax.
    const bool sinIva = Importe::DeVariant(encabezado.campo(QStringLiteral("IVA"))) == Importe();
    const bool sinImpAd =
        Importe::DeVariant(encabezado.campo(QStringLiteral("ImpuestoAd"))) == Importe();
    CifrasDeLinea::Descuentos descuentos;
    for (int n = 0; n < 5; ++n) {
        descuentos.tasas[n] =
            Decimal::DeVariant(encabezado.campo(QStringLiteral("Desc%1").arg(n + 1)));
    }
    Importe gravado;
    Importe sinGravar;
    Renglones renglones;
    for (const LineaImpresa& l : lineas) {
        const Decimal tasaIva = sinIva ? Decimal() : l.tasaIva;
        const Decimal tasaImpAd = sinImpAd ? Decimal() : l.tasaImpAd;
        const CifrasDeLinea c = CifrasDeLinea::Completa(
            {Importe(), Importe(), l.guardadas[0], l.guardadas[1], l.guardadas[2], l.guardadas[3]},
            l.cantidad, l.precio, tasaIva, tasaImpAd, reglas,
            l.bloqueado ? CifrasDeLinea::Descuentos() : descuentos);
        (l.tasaIva == Decimal() && l.tasaImpAd == Decimal() ? sinGravar : gravado) += c.neto;
        acumula(renglones, QLatin1Char('I'), tasaIva, c.baseIva, sinIva ? Importe() : c.importeIva);
        acumula(renglones, QLatin1Char('A'), tasaImpAd, c.baseImpAd,
                sinImpAd ? Importe() : c.importeImpAd);
    }
    // The run's connection outlives the note: a breakdown half written is taken back. Its
    // start and its end are statements like the rest, so a full or locked file that refuses
    // either stops the note with its error instead of losing the breakdown; a savepoint, so
    // that it also nests in the transaction that writes the whole note.
    auxiliar.ejecuta(QStringLiteral("SAVEPOINT desglose"));
    try {
        escribe(auxiliar, renglones,
                {{QStringLiteral("Gravado"), gravado.ADouble()},
                 {QStringLiteral("SinGravar"), sinGravar.ADouble()}});
        auxiliar.ejecuta(QStringLiteral("RELEASE desglose"));
    } catch (...) {
        // Quietly: the write's own error is the one to tell.
        QSqlQuery(auxiliar.bd()).exec(QStringLiteral("ROLLBACK TO desglose"));
        QSqlQuery(auxiliar.bd()).exec(QStringLiteral("RELEASE desglose"));
        throw;
    }
}
