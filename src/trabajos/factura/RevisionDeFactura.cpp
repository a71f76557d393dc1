#include "trabajos/factura/RevisionDeFactura.h"

#include "orvlib/Conexion.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"
#include "servicios/Rechazo.h"
#include "tienda/BaseDeFactura.h"
#include "tienda/LargosDeColumnas.h"
#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/EncabezadoDeFactura.h"
#include "trabajos/factura/RastrosDeFactura.h"

#include <QSqlQuery>
#include <algorithm>

RevisionDeFactura::RevisionDeFactura(Conexion& cnn, QString baseResguardo)
    : cnn_(cnn)
    , resguardo_(std::move(baseResguardo)) {}

void RevisionDeFactura::Verifica(const DatosDeFactura& datos,
                                 const QVector<PartidaDeFactura>& partidas, const QTime& hora) {
    verificaResguardo();
    if (partidas.isEmpty()) {
        throw Rechazo(QStringLiteral("No hay remisiones aplicadas que facturar: use "
                                     "\"Aplicar\" con otra selección."));
    }
    verificaCantidades(partidas);
    verificaTotales(datos, PartidasDeFactura::Suma(partidas));
    verificaCliente(datos.cliente);
    const QString rastros = RastrosDeOtraFactura(true);
    if (!rastros.isEmpty()) {
        throw Rechazo(rastros);
    }
    verificaLargos(datos, partidas, hora);
}

void RevisionDeFactura::verificaResguardo() {
    const QString tablas = cnn_.valor(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME IN ('remisiones','remisionesdetalle')"),
        {resguardo_});
    if (tablas != QLatin1String("2")) {
        throw Rechazo(
            QStringLiteral("La base de datos de resguardo '%1' no tiene las tablas remisiones y "
                           "remisionesdetalle. No se cambió nada.")
                .arg(resguardo_));
    }
}

void RevisionDeFactura::verificaCantidades(const QVector<PartidaDeFactura>& partidas) {
    // Returns in the period can leave a product with nothing to invoice: a line without
    // quantity has no unit price, and the host takes no such line.
    QStringList productos;
    for (const PartidaDeFactura& p : partidas) {
        if (p.cantidad <= Decimal()) {
            productos << QStringLiteral("'%1' (%2)")
                             .arg(p.producto, Formato::Numero(p.cantidad.ADouble(),
                                                              QStringLiteral("#,0.####")));
        }
    }
    if (!productos.isEmpty()) {
        throw Rechazo(
            QStringLiteral("Con las devoluciones del período, estos productos suman una cantidad "
                           "de cero o menos y no pueden ir en la factura: %1. Quite de la "
                           "selección las remisiones que los llevan y use \"Aplicar\" de nuevo. "
                           "No se cambió nada.")
                .arg(productos.join(QStringLiteral(", "))));
    }
}

void RevisionDeFactura::verificaTotales(const DatosDeFactura& datos,
                                        const PartidasDeFactura::Sumas& sumas) {
    // The invoice carries what the window showed, or nothing.
    if (datos.subtotal != sumas.subtotal || datos.iva != sumas.iva || datos.ieps != sumas.ieps) {
        throw Rechazo(QStringLiteral(
            "Los importes mostrados ya no corresponden a las remisiones aplicadas; use "
            "\"Aplicar\" de nuevo. No se cambió nada."));
    }
}

void RevisionDeFactura::verificaCliente(const QString& cliente) {
    if (cnn_.valor(QStringLiteral("SELECT COUNT(*) FROM clientes WHERE Clave=?"), {cliente})
            .toInt() == 0) {
        throw Rechazo(QStringLiteral("El cliente '%1' no existe.").arg(cliente));
    }
}

void RevisionDeFactura::verificaLargos(const DatosDeFactura& datos,
                                       const QVector<PartidaDeFactura>& lineas, const QTime& hora) {
    const EncabezadoDeFactura e = EncabezadoDeFactura::Lee(cnn_, datos, datos.folioPropuesto, hora);
    LargosDeColumnas(cnn_, QStringLiteral("facturas")).Verifica(e.columnas, e.valores);
    const LargosDeColumnas partidas(cnn_, QStringLiteral("facturasdetalle"));
    const auto masLargo = [&lineas](int PartidaDeFactura::*largo) {
        int mayor = 0;
        for (const PartidaDeFactura& p : lineas) {
            mayor = std::max(mayor, p.*largo);
        }
        return mayor;
    };
    const std::pair<QString, int> columnas[] = {
        {QStringLiteral("Descripcion"), masLargo(&PartidaDeFactura::largoDeDescripcion)},
        {QStringLiteral("Producto"), masLargo(&PartidaDeFactura::largoDeProducto)}};
    for (const auto& [columna, mayor] : columnas) {
        const int cabe = partidas.Largo(columna);
        if (cabe == 0 || mayor <= cabe) {
            continue;
        }
        // The longest text, with the note it came from, so the refusal says where to mend it.
        QSqlQuery q = cnn_.consulta(
            QStringLiteral("SELECT d.%1, t.Serie, t.Factura FROM %2.remisionesdetalle d JOIN "
                           "%2.remisiones t ON t.Id=d.Id ORDER BY CHAR_LENGTH(d.%1) DESC LIMIT 1")
                .arg(Sentencias::Nombre(columna), BaseDeFactura::Nombre()));
        if (!q.next()) {
            continue;
        }
        try {
            partidas.Verifica(columna, q.value(0).toString());
        } catch (const Rechazo& r) {
            throw Rechazo(r.texto() + QStringLiteral(" Viene de la remisión %1 %2: corríjala en "
                                                     "Orvane o deje fuera esa remisión.")
                                          .arg(q.value(1).toString(), q.value(2).toString()));
        }
    }
    LargosDeColumnas(cnn_, QStringLiteral("remisiones"))
        .Verifica(QStringLiteral("MotivoCancelacion"),
                  QStringLiteral("REMISION TOMADA EN LA FACTURA ") + datos.serie +
                      QString::number(datos.folioPropuesto));
}

QStringList RevisionDeFactura::TablasSinTransaccion() {
    if (sinTransaccion_) {
        return *sinTransaccion_;
    }
    QSqlQuery q = cnn_.consulta(
        QStringLiteral(
            "SELECT TABLE_SCHEMA, TABLE_NAME, ENGINE FROM information_schema.TABLES WHERE "
            "(TABLE_SCHEMA=DATABASE() AND TABLE_NAME IN ('sistema','facturas','facturasdetalle',"
            "'remisiones')) OR (TABLE_SCHEMA=? AND TABLE_NAME IN ('remisiones',"
            "'remisionesdetalle')) ORDER BY TABLE_SCHEMA, TABLE_NAME"),
        {resguardo_});
    static const QStringList kConTransacciones = {
        QStringLiteral("innodb"),  QStringLiteral("xtradb"),     QStringLiteral("tokudb"),
        QStringLiteral("rocksdb"), QStringLiteral("ndbcluster"), QStringLiteral("ndb")};
    QStringList tablas;
    while (q.next()) {
        if (!kConTransacciones.contains(q.value(2).toString().toLower())) {
            tablas << QStringLiteral("%1.%2 (%3)")
                          .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
        }
    }
    sinTransaccion_ = tablas;
    return tablas;
}

bool RevisionDeFactura::Nombra(const QStringList& sinTransaccion, const QString& tabla) {
    return std::any_of(sinTransaccion.begin(), sinTransaccion.end(), [&tabla](const QString& s) {
        return s.startsWith(tabla + QLatin1Char(' '), Qt::CaseInsensitive);
    });
}

QString RevisionDeFactura::RastrosDeOtraFactura(bool deLaSeleccion) {
    const QString hay = cnn_.valor(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME='remisiones'"),
        {resguardo_});
    if (hay.toInt() == 0) {
        return {};
    }
    const QString base = cnn_.valor(QStringLiteral("SELECT DATABASE()")) + QLatin1Char('.');
    // Where the tables take transactions a stopped invoice leaves nothing behind: no header,
    // and no archive copy of a note still open (such a copy is then a note re-opened since its
    // invoice was cancelled, invoiced again normally).
    const QStringList sinTransaccion = TablasSinTransaccion();
    const auto alguna = [&sinTransaccion](const QStringList& tablas) {
        return std::any_of(tablas.begin(), tablas.end(),
                           [&](const QString& tabla) { return Nombra(sinTransaccion, tabla); });
    };
    const bool encabezados =
        alguna({base + QStringLiteral("facturas"), base + QStringLiteral("facturasdetalle")});
    const bool notas = alguna({resguardo_ + QStringLiteral(".remisiones"),
                               resguardo_ + QStringLiteral(".remisionesdetalle")});
    if (!notas && !encabezados) {
        return {};
    }
    RastrosDeFactura rastros(cnn_, resguardo_,
                             deLaSeleccion ? BaseDeFactura::Nombre() + QStringLiteral(".remisiones")
                                           : QString());
    rastros.Busca(notas, encabezados);
    return rastros.Texto();
}
