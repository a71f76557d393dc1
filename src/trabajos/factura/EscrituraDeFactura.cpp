#include "trabajos/factura/EscrituraDeFactura.h"

#include "orvlib/AlSalir.h"
#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"
#include "tienda/BaseDeFactura.h"
#include "trabajos/factura/EncabezadoDeFactura.h"
#include "trabajos/factura/RevisionDeFactura.h"

#include <QSqlQuery>

EscrituraDeFactura::EscrituraDeFactura(Conexion& cnn, QString baseResguardo,
                                       QStringList sinTransaccion)
    : cnn_(cnn)
    , resguardo_(std::move(baseResguardo))
    , sinTransaccion_(std::move(sinTransaccion)) {}

FacturaCreada EscrituraDeFactura::Escribe(const DatosDeFactura& datos,
                                          const QVector<PartidaDeFactura>& partidas,
                                          const QTime& hora,
                                          const std::function<void(int, qint32)>& alAvanzar) {
    quedoEscrito_ = false;
    escrito_.clear();
    base_ = cnn_.valor(QStringLiteral("SELECT DATABASE()"));
    FacturaCreada creada{datos.serie, 0, 0};
    const auto avanza = [&alAvanzar, &creada](int paso) {
        if (alAvanzar) {
            alAvanzar(paso, creada.folio);
        }
    };
    if (!cnn_.bd().transaction()) {
        throw ErrorOrvlib(NumerosDeError::kSinNumero,
                          QStringLiteral("No se pudo iniciar la transacción"),
                          QStringLiteral("START TRANSACTION"));
    }
    try {
        creada.folio = tomaFolio(datos);
        avanza(1);
        creada.id = agregaEncabezado(datos, creada.folio, hora);
        avanza(2);
        agregaPartidas(creada.id, partidas);
        avanza(3);
        cancelaYResguarda(datos, creada.folio, creada.id);
        avanza(4);
        if (!cnn_.bd().commit()) {
            throw ErrorOrvlib(NumerosDeError::kSinNumero,
                              QStringLiteral("No se pudo confirmar la transacción"),
                              QStringLiteral("COMMIT"));
        }
        escrito_.clear();
        return creada;
    } catch (const ErrorOrvlib& e) {
        cnn_.bd().rollback();
        throw ErrorOrvlib(e.numero(), queQuedo() + e.descripcion(), e.contexto());
    } catch (...) {
        // Any other failure goes on as it is, after the same rollback and account: the
        // transaction and the series counter's row lock never outlive it.
        cnn_.bd().rollback();
        queQuedo();
        throw;
    }
}

qint32 EscrituraDeFactura::tomaFolio(const DatosDeFactura& datos) {
    const QString clave = QStringLiteral("FA-") + datos.serie;
    // The series counter row is locked until the invoice is committed, so a second invoice of
    // the series waits here and then finds the folio this one took.
    cnn_.consulta(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato=? FOR UPDATE"), {clave});
    qint32 folio = datos.folioPropuesto;
    while (cnn_.valor(QStringLiteral("SELECT COUNT(*) FROM facturas WHERE Serie=? AND Factura=?"),
                      {datos.serie, folio})
               .toInt() > 0) {
        ++folio;
    }
    cnn_.consulta(QStringLiteral("Update sistema set Contenido=? where Dato=?"),
                  {QString::number(folio), clave});
    anota(QStringLiteral("el contador %1 de la tabla sistema quedó en %2").arg(clave).arg(folio),
          principal(QStringLiteral("sistema")));
    return folio;
}

qint64 EscrituraDeFactura::agregaEncabezado(const DatosDeFactura& datos, qint32 folio,
                                            const QTime& hora) {
    const EncabezadoDeFactura e = EncabezadoDeFactura::Lee(cnn_, datos, folio, hora);
    cnn_.consulta(
        QStringLiteral("INSERT INTO facturas (%1) VALUES (%2)")
            .arg(e.columnas.join(QLatin1Char(',')),
                 QStringList(e.columnas.size(), QStringLiteral("?")).join(QLatin1Char(','))),
        e.valores);
    const qint64 id = cnn_.valor(QStringLiteral("SELECT LAST_INSERT_ID()")).toLongLong();
    anota(QStringLiteral("el encabezado de la factura %1%2 (Id %3) en facturas")
              .arg(datos.serie)
              .arg(folio)
              .arg(id),
          principal(QStringLiteral("facturas")));
    return id;
}

void EscrituraDeFactura::agregaPartidas(qint64 idFactura, const QVector<PartidaDeFactura>& lineas) {
    // One note of the lines written, also when one of them fails.
    qsizetype escritas = 0;
    const AlSalir anotaPartidas([&] {
        if (escritas > 0) {
            anota(QStringLiteral("%1 de las %2 partidas de la factura (Id %3) en facturasdetalle")
                      .arg(escritas)
                      .arg(lineas.size())
                      .arg(idFactura),
                  principal(QStringLiteral("facturasdetalle")));
        }
    });
    qint16 partida = 0;
    for (const PartidaDeFactura& p : lineas) {
        cnn_.consulta(
            QStringLiteral("INSERT INTO facturasdetalle (Id, Partida, Descripcion, Cantidad, "
                           "PrecioNeto, PrecioBruto, IVA, Producto, ImpuestoAd, NumeroDePrecio) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)"),
            {idFactura, ++partida, p.descripcion, p.cantidad.TextoSql(), p.precio.TextoSql(),
             p.precio.TextoSql(), p.tasaIva.TextoSql(), p.producto, p.tasaImpAd.TextoSql(), 1});
        ++escritas;
    }
}

void EscrituraDeFactura::reemplazaCopiasAnteriores(const QString& resguardo) {
    // A note re-opened after its invoice was cancelled already has a copy under its Id, the
    // archive's key: the new copy replaces it, which needs DELETE on the archive. Where the
    // archive takes no transactions the check before the invoice refuses such a note instead.
    const QString desde = QStringLiteral("%1.%3 a JOIN %2.remisiones t ON t.Id=a.Id");
    const QString temporal = BaseDeFactura::Nombre();
    if (cnn_.valor(QStringLiteral("SELECT COUNT(*) FROM ") +
                   desde.arg(resguardo, temporal, QStringLiteral("remisiones")))
            .toInt() == 0) {
        return;
    }
    for (const char* tabla : {"remisionesdetalle", "remisiones"}) {
        cnn_.ejecuta(QStringLiteral("DELETE a FROM ") +
                     desde.arg(resguardo, temporal, QLatin1String(tabla)));
    }
}

void EscrituraDeFactura::cancelaYResguarda(const DatosDeFactura& datos, qint32 folio,
                                           qint64 idFactura) {
    const QString resguardo = Sentencias::Nombre(resguardo_);
    const QString temporal = BaseDeFactura::Nombre();
    reemplazaCopiasAnteriores(resguardo);
    cnn_.ejecuta(QStringLiteral("Insert into %1.remisiones SELECT * FROM %2.remisiones")
                     .arg(resguardo, temporal));
    anota(QStringLiteral("las copias reducidas de las remisiones en %1.remisiones").arg(resguardo_),
          resguardo_ + QStringLiteral(".remisiones"));
    cnn_.ejecuta(
        QStringLiteral("Insert into %1.remisionesdetalle SELECT * FROM %2.remisionesdetalle")
            .arg(resguardo, temporal));
    anota(QStringLiteral("sus partidas en %1.remisionesdetalle").arg(resguardo_),
          resguardo_ + QStringLiteral(".remisionesdetalle"));
    const int notas = cnn_.valor(QStringLiteral("SELECT COUNT(*) FROM ") + temporal +
                                 QStringLiteral(".remisiones"))
                          .toInt();
    QSqlQuery cancela = cnn_.consulta(
        QStringLiteral("Update remisiones r join %1.remisiones t on t.Id=r.Id set r.Cancelada=1, "
                       "r.Facturada=?, "
                       "r.MotivoCancelacion=? where r.Cancelada=0 and r.Facturada=0")
            .arg(temporal),
        {idFactura,
         QStringLiteral("REMISION TOMADA EN LA FACTURA ") + datos.serie + QString::number(folio)});
    anota(QStringLiteral("%1 remisiones marcadas como canceladas y facturadas en remisiones")
              .arg(cancela.numRowsAffected()),
          principal(QStringLiteral("remisiones")));
    if (cancela.numRowsAffected() != notas) {
        throw ErrorOrvlib(
            NumerosDeError::kEstadoInvalido,
            QStringLiteral("Alguna de las remisiones ya fue cancelada o facturada desde que se "
                           "aplicó la selección; use \"Aplicar\" de nuevo."),
            temporal);
    }
}

QString EscrituraDeFactura::principal(const QString& tabla) const {
    return base_ + QLatin1Char('.') + tabla;
}

void EscrituraDeFactura::anota(const QString& que, const QString& tabla) {
    escrito_.emplace_back(que, tabla);
}

QString EscrituraDeFactura::queQuedo() {
    QStringList quedo;
    for (const auto& [que, tabla] : escrito_) {
        if (RevisionDeFactura::Nombra(sinTransaccion_, tabla)) {
            quedo << QStringLiteral("- ") + que;
        }
    }
    escrito_.clear();
    if (quedo.isEmpty()) {
        return QStringLiteral("No se generó la factura y no se cambió nada.\r\n");
    }
    quedoEscrito_ = true;
    return QStringLiteral("No se terminó de generar la factura. Estas tablas no admiten "
                          "transacciones y conservan lo que ya se había escrito en ellas: %1.\r\n"
                          "Quedó escrito:\r\n%2\r\nRevise esos datos en Orvane antes de "
                          "volver a intentarlo.\r\n")
        .arg(sinTransaccion_.join(QStringLiteral(", ")), quedo.join(QStringLiteral("\r\n")));
}
