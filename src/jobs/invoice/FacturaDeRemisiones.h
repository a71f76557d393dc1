#pragma once

#include "hostdata/BaseDeFactura.h"
#include "hostdata/CandadoDelServidor.h"
#include "hostdata/Importe.h"
#include "jobs/invoice/PartidasDeFactura.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <utility>
#include <vector>

class Conexion;

// The eight totals of "Aplicar": the copied notes' stored totals, and the totals of the
// invoice's lines made from their reduced copies.
struct TotalesDeFactura {
    Importe subtotalAntes, ivaAntes, iepsAntes;
    Importe subtotalDespues, ivaDespues, iepsDespues;
    int remisiones = 0;
    int partidas = 0;

    Importe totalAntes() const { return subtotalAntes + ivaAntes + iepsAntes; }
    Importe totalDespues() const { return subtotalDespues + ivaDespues + iepsDespues; }
};

// What "Generar factura" takes from the window.
struct DatosDeFactura {
    QString serie;
    QString cliente;
    QDate fecha;
    qint32 folioPropuesto = 0;
    Importe subtotal, iva, ieps; // as the window shows them; the invoice refuses others
    QString metodoDePago;
};

struct FacturaCreada {
    QString serie;
    qint32 folio = 0;
    qint64 id = 0;
};

// The invoice job without its window. It works on one working database per server
// (tmpreprocesarem), which a server-wide named lock keeps to one window at a time; it copies the
// notes of a selection there and reduces their quantities, and turns the copies into one host
// invoice: the series counter, the header, one line per product, the archive copies and the
// notes' cancellation, all in one transaction, so an invoice is made whole or not at all.
class FacturaDeRemisiones {
public:
    FacturaDeRemisiones(Conexion& cnnPrincipal, Conexion& cnnTemporal);

    // Takes the working database's lock; false when another window or command, here or on
    // another workstation, holds it, which Ocupada() then tells the user.
    bool TomaLaBaseTemporal();
    // "la estación …, usuario …" of the connection that holds the lock, when the server says.
    QString QuienTieneLaBaseTemporal() const;
    static QString Ocupada(const QString& quien = {}) {
        return QStringLiteral("La base de trabajo de las facturas por remisiones de este servidor "
                              "está reservada por otra ventana u orden de consola, abierta en "
                              "%1. Cuando esa se cierre, vuelva a intentarlo.")
            .arg(quien.isEmpty() ? QStringLiteral("este u otro equipo") : quien);
    }
    // Refuses (Rechazo) when this connection no longer holds the lock, as after the server
    // dropped the connection.
    void VerificaLaBaseTemporal();
    void SueltaLaBaseTemporal();
    // Drops a working database left by an abnormal end and makes it anew.
    void PreparaBaseTemporal();
    void BorraBaseTemporal();

    // Copies the matching notes (dates inclusive; series, client and name fragment when not
    // empty, the fragment taken literally) and reduces the copies' quantities by the
    // percentage; inputs that ValidaEntrada refuses are refused before anything changes.
    TotalesDeFactura AplicaPorcentaje(const QDate& desde, const QDate& hasta, const QString& serie,
                                      const QString& cliente, const QString& nombre,
                                      float porcentaje,
                                      const std::function<void()>& alAvanzar = {});
    // Creates the invoice from the copies of the last "Aplicar". Refuses (Rechazo), with
    // nothing changed, a product whose quantities net to zero or less. Throws ErrorOrvlib when
    // anything fails after undoing what the transaction holds; what tables without
    // transactions keep is said in the error, and QuedoAlgoEscrito() tells. alAvanzar runs
    // after each of its four steps (1 folio taken, 2 header, 3 lines, 4 notes archived and
    // cancelled) with the folio, inside the transaction: it must not let window events run.
    FacturaCreada GeneraFactura(const DatosDeFactura& datos, const QString& baseResguardo,
                                const std::function<void(int paso, qint32 folio)>& alAvanzar = {});

    // What an earlier invoice that did not finish left behind (RastrosDeFactura), with how to
    // finish or undo it; empty when nothing. deLaSeleccion looks only at the notes of the last
    // "Aplicar"; without it, at every note in the archive database, as the window opens.
    QString RastrosDeOtraFactura(const QString& baseResguardo, bool deLaSeleccion = false);

    bool QuedoAlgoEscrito() const { return quedoEscrito_; }
    // The tables the invoice writes that do not take transactions, as "base.tabla (MOTOR)".
    QStringList TablasSinTransaccion(const QString& baseResguardo);
    // Refuses (Rechazo) dates that are not valid or not in order, or a percentage outside
    // 0 … 100.
    static void ValidaEntrada(const QDate& desde, const QDate& hasta, float porcentaje);

    // The inputs and outcome of "Aplicar" and "Generar factura" as the trail records them.
    static QString Parametros(const QDate& desde, const QDate& hasta, const QString& serie,
                              const QString& cliente, const QString& nombre, float porcentaje);
    static QString Parametros(const DatosDeFactura& datos);
    static QString Resumen(const TotalesDeFactura& totales);

    // The clock of the invoice's Hora; tests set it.
    void PonReloj(std::function<QTime()> reloj) { reloj_ = std::move(reloj); }

    static QString BaseTemporal() { return BaseDeFactura::Nombre(); }
    // "01 - Efectivo" gives "01"; a text without " - " at the third character is kept whole.
    static QString ClaveMetodoPago(const QString& texto);
    // A float as its shortest decimal text: 10, 12.5.
    static QString TextoDePorcentaje(float porcentaje);

private:
    QVector<PartidaDeFactura> partidasDeLaFactura();
    void verificaAntesDeFacturar(const DatosDeFactura& datos, const QString& baseResguardo,
                                 const QVector<PartidaDeFactura>& partidas);
    static void verificaCantidades(const QVector<PartidaDeFactura>& partidas);
    static void verificaTotales(const DatosDeFactura& datos, const PartidasDeFactura::Sumas& sumas);
    void verificaLargos(const DatosDeFactura& datos);
    // The header's columns and values, read from the client; nothing is written.
    std::pair<QStringList, QVariantList> encabezado(const DatosDeFactura& datos, qint32 folio);
    QString principal(const QString& tabla) const;
    void anota(const QString& que, const QString& tabla);
    QString queQuedo(const QStringList& sinTransaccion);
    qint32 tomaFolio(const DatosDeFactura& datos);
    qint64 agregaEncabezado(const DatosDeFactura& datos, qint32 folio);
    void agregaPartidas(qint64 idFactura, const QVector<PartidaDeFactura>& lineas);
    void reemplazaCopiasAnteriores(const QString& resguardo, const QString& temporal);
    void cancelaYResguarda(const DatosDeFactura& datos, qint32 folio, qint64 idFactura,
                           const QString& baseResguardo);

    Conexion& principal_;
    Conexion& temporal_;
    CandadoDelServidor candado_{principal_, BaseDeFactura::Candado()};
    std::function<QTime()> reloj_ = [] { return QTime::currentTime(); };
    QString base_;
    // The writes of the invoice in progress, with the table ("base.tabla") each one touched.
    std::vector<std::pair<QString, QString>> escrito_;
    bool quedoEscrito_ = false;
};
