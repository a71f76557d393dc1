#include "trabajos/exportacion/ExportacionDeFactura.h"

#include "orvlib/Conexion.h"
#include "orvlib/Sentencias.h"
#include "tienda/BaseDeFactura.h"
#include "tienda/CifrasEnSql.h"
#include "tienda/ReglasDeImpuestos.h"
#include "trabajos/factura/CopiasDeFactura.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>

namespace {

using Tipo = HojaDeCalculo::Tipo;

struct Cifras {
    Importe subtotal, iva, ieps;
    Importe total() const { return subtotal + iva + ieps; }
    void suma(const Cifras& o) {
        subtotal += o.subtotal;
        iva += o.iva;
        ieps += o.ieps;
    }
};

HojaDeCalculo hojaDePartidas(Conexion& principal, const TotalesDeFactura& t) {
    HojaDeCalculo hoja{QStringLiteral("Partidas de la factura"),
                       {{QStringLiteral("Partida"), Tipo::Entero},
                        {QStringLiteral("Producto"), Tipo::Texto},
                        {QStringLiteral("Descripción"), Tipo::Texto},
                        {QStringLiteral("Cantidad"), Tipo::Cantidad},
                        {QStringLiteral("Precio"), Tipo::Precio},
                        {QStringLiteral("Importe"), Tipo::Dinero},
                        {QStringLiteral("Tasa de I. V. A. (%)"), Tipo::Tasa},
                        {QStringLiteral("I. V. A."), Tipo::Dinero},
                        {QStringLiteral("Tasa de IEPS (%)"), Tipo::Tasa},
                        {QStringLiteral("IEPS"), Tipo::Dinero},
                        {QStringLiteral("Total"), Tipo::Dinero}},
                       {},
                       {}};
    qint64 partida = 0;
    for (const PartidaDeFactura& p : CopiasDeFactura::Partidas(principal)) {
        const CifrasDeLinea& c = p.cifras;
        hoja.filas << HojaDeCalculo::Fila{++partida,
                                          p.producto,
                                          p.descripcion.toString(),
                                          p.cantidad,
                                          p.precio,
                                          c.importe,
                                          p.tasaIva,
                                          c.importeIva,
                                          p.tasaImpAd,
                                          c.importeImpAd,
                                          c.importe + c.importeIva + c.importeImpAd};
    }
    hoja.totales << HojaDeCalculo::Fila{QStringLiteral("Totales:"),
                                        {},
                                        {},
                                        {},
                                        {},
                                        t.subtotalDespues,
                                        {},
                                        t.ivaDespues,
                                        {},
                                        t.iepsDespues,
                                        t.totalDespues()};
    return hoja;
}

// Each copied note's figures after the reduction: its lines' net amounts and taxes in cents.
QHash<qint64, Cifras> reducidas(Conexion& principal) {
    const QString importe =
        CifrasEnSql::Importe(QStringLiteral("d.Cantidad"), QStringLiteral("d.PrecioNeto"));
    QSqlQuery q = principal.consulta(
        QStringLiteral("SELECT d.Id, d.IVA, d.ImpuestoAd, %2, %3 FROM %1.remisionesdetalle d "
                       "JOIN %1.remisiones t ON t.Id=d.Id")
            .arg(Sentencias::Nombre(BaseDeFactura::Nombre()), importe,
                 CifrasEnSql::Neto(importe, QStringLiteral("t"), QStringLiteral("d.Producto"))));
    const CifrasDeLinea::Reglas reglas = ReglasDeImpuestos(principal);
    QHash<qint64, Cifras> notas;
    while (q.next()) {
        const CifrasDeLinea c = CifrasDeLinea::DeNeto(
            Importe::DeVariant(q.value(3)), Importe::DeVariant(q.value(4)),
            Decimal::DeVariant(q.value(1)), Decimal::DeVariant(q.value(2)), reglas);
        notas[q.value(0).toLongLong()].suma({c.neto, c.importeIva, c.importeImpAd});
    }
    return notas;
}

void agrega(HojaDeCalculo::Fila& fila, const Cifras& c) {
    fila << c.subtotal << c.iva << c.ieps << c.total();
}

HojaDeCalculo hojaDeRemisiones(Conexion& principal, const TotalesDeFactura& t,
                               const QString& folio) {
    QVector<HojaDeCalculo::Columna> columnas = {{QStringLiteral("Serie"), Tipo::Texto},
                                                {QStringLiteral("Folio"), Tipo::Entero},
                                                {QStringLiteral("Fecha"), Tipo::Fecha},
                                                {QStringLiteral("Cliente"), Tipo::Texto},
                                                {QStringLiteral("Nombre"), Tipo::Texto}};
    for (const char* cuando : {"antes", "después"}) {
        for (const char* cifra : {"Subtotal", "I. V. A.", "IEPS", "Total"}) {
            columnas << HojaDeCalculo::Columna{QString::fromUtf8(cifra) + QLatin1Char(' ') +
                                                   QString::fromUtf8(cuando),
                                               Tipo::Dinero};
        }
    }
    HojaDeCalculo hoja{QStringLiteral("Remisiones de la factura"), columnas, {}, {}};
    const QHash<qint64, Cifras> despues = reducidas(principal);
    QSqlQuery q = principal.consulta(
        QStringLiteral("SELECT Id, Serie, Factura, Fecha, Cliente, Nombre, Subtotal, IVA, "
                       "ImpuestoAd FROM %1.remisiones ORDER BY Fecha, Serie, Factura, Id")
            .arg(Sentencias::Nombre(BaseDeFactura::Nombre())));
    Cifras sumaAntes;
    Cifras sumaDespues;
    while (q.next()) {
        const Cifras antes{Importe::DeVariant(q.value(6)), Importe::DeVariant(q.value(7)),
                           Importe::DeVariant(q.value(8))};
        const Cifras reducida = despues.value(q.value(0).toLongLong());
        sumaAntes.suma(antes);
        sumaDespues.suma(reducida);
        HojaDeCalculo::Fila fila{q.value(1).toString(), q.value(2).toLongLong(),
                                 q.value(3).toDate(), q.value(4).toString(), q.value(5).toString()};
        agrega(fila, antes);
        agrega(fila, reducida);
        hoja.filas << fila;
    }
    HojaDeCalculo::Fila deLasNotas{QStringLiteral("Totales de las remisiones:"), {}, {}, {}, {}};
    agrega(deLasNotas, sumaAntes);
    agrega(deLasNotas, sumaDespues);
    HojaDeCalculo::Fila deLaFactura{folio.isEmpty()
                                        ? QStringLiteral("Totales de la factura:")
                                        : QStringLiteral("Totales de la factura %1:").arg(folio),
                                    {},
                                    {},
                                    {},
                                    {}};
    agrega(deLaFactura, {t.subtotalAntes, t.ivaAntes, t.iepsAntes});
    agrega(deLaFactura, {t.subtotalDespues, t.ivaDespues, t.iepsDespues});
    hoja.totales << deLasNotas << deLaFactura;
    return hoja;
}

} // namespace

LibroDeCalculo ExportacionDeFactura::Libro(Conexion& principal, const TotalesDeFactura& totales,
                                           const QString& folio) {
    return {hojaDePartidas(principal, totales), hojaDeRemisiones(principal, totales, folio)};
}

QString ExportacionDeFactura::NombrePropuesto(const QString& folio) {
    if (!folio.isEmpty()) {
        // A series may hold what a file name cannot.
        QString nombre = folio;
        for (QChar& c : nombre) {
            c = c.isLetterOrNumber() ? c : QLatin1Char('-');
        }
        return QStringLiteral("factura-%1.xlsx").arg(nombre);
    }
    return QStringLiteral("factura-%1.xlsx")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
}
