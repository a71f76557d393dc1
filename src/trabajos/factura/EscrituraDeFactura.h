#pragma once

#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/PartidasDeFactura.h"

#include <QStringList>
#include <QTime>
#include <QVector>
#include <functional>
#include <utility>
#include <vector>

class Conexion;

// Writes one invoice in one transaction: the series counter, the header, one line per product,
// the archive copies and the notes' cancellation. It keeps an account of each write, so that
// when it fails the error says what tables without transactions kept.
class EscrituraDeFactura {
public:
    // cnn works on the host's main database; sinTransaccion as RevisionDeFactura gives them.
    EscrituraDeFactura(Conexion& cnn, QString baseResguardo, QStringList sinTransaccion);

    // Throws ErrorOrvlib, after the rollback, with what was kept said first. alAvanzar runs
    // after each of the four steps with the folio, inside the transaction.
    FacturaCreada Escribe(const DatosDeFactura& datos, const QVector<PartidaDeFactura>& partidas,
                          const QTime& hora,
                          const std::function<void(int paso, qint32 folio)>& alAvanzar);
    bool QuedoAlgoEscrito() const { return quedoEscrito_; }

private:
    qint32 tomaFolio(const DatosDeFactura& datos);
    qint64 agregaEncabezado(const DatosDeFactura& datos, qint32 folio, const QTime& hora);
    void agregaPartidas(qint64 idFactura, const QVector<PartidaDeFactura>& lineas);
    void reemplazaCopiasAnteriores(const QString& resguardo);
    void cancelaYResguarda(const DatosDeFactura& datos, qint32 folio, qint64 idFactura);
    void anota(const QString& que, const QString& tabla);
    QString principal(const QString& tabla) const;
    // What the rollback cannot undo: the steps done on tables without transactions.
    QString queQuedo();

    Conexion& cnn_;
    QString resguardo_;
    QStringList sinTransaccion_;
    QString base_;
    // The writes of the invoice in progress, with the table ("base.tabla") each one touched.
    std::vector<std::pair<QString, QString>> escrito_;
    bool quedoEscrito_ = false;
};
