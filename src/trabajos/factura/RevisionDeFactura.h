#pragma once

#include "trabajos/factura/PartidasDeFactura.h"

#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>
#include <optional>

class Conexion;
struct DatosDeFactura;

// What is looked at before an invoice is written, refusing (Rechazo) with nothing changed: the
// archive's tables, products whose quantities net to zero, totals other than those shown, an
// unknown client, values longer than their columns, and what an invoice that did not finish
// left behind.
class RevisionDeFactura {
public:
    // cnn works on the host's main database.
    RevisionDeFactura(Conexion& cnn, QString baseResguardo);

    void Verifica(const DatosDeFactura& datos, const QVector<PartidaDeFactura>& partidas,
                  const QTime& hora);
    // The tables the invoice writes that do not take transactions, as "base.tabla (MOTOR)";
    // read once for this revision.
    QStringList TablasSinTransaccion();
    // What an earlier invoice that did not finish left behind (RastrosDeFactura), with how to
    // finish or undo it; empty when nothing. deLaSeleccion looks only at the notes of the last
    // "Aplicar"; without it, at every note in the archive database.
    QString RastrosDeOtraFactura(bool deLaSeleccion);

    // Whether one of "base.tabla (MOTOR)" names the table ("base.tabla").
    static bool Nombra(const QStringList& sinTransaccion, const QString& tabla);

private:
    void verificaResguardo();
    static void verificaCantidades(const QVector<PartidaDeFactura>& partidas);
    static void verificaTotales(const DatosDeFactura& datos, const PartidasDeFactura::Sumas& sumas);
    void verificaCliente(const QString& cliente);
    // The header's texts, the lines' longest description and product key (read at the
    // grouping; the lines are read again only to name the note of one that does not fit) and
    // the cancellation's reason, against their columns.
    void verificaLargos(const DatosDeFactura& datos, const QVector<PartidaDeFactura>& lineas,
                        const QTime& hora);

    Conexion& cnn_;
    QString resguardo_;
    std::optional<QStringList> sinTransaccion_;
};
