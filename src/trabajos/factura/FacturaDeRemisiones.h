#pragma once

#include "trabajos/factura/BaseDeTrabajoDeFactura.h"
#include "trabajos/factura/CopiasDeFactura.h"
#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/SeleccionDeFactura.h"

#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>
#include <utility>

// The invoice job, the same for its window and the command line: on its working database it
// copies the notes of a selection and reduces their quantities ("Aplicar"), then turns the
// copies into one host invoice ("Generar factura"), made whole or not at all. The window and
// the command line only gather the inputs and show what it returns.
class FacturaDeRemisiones : public BaseDeTrabajoDeFactura {
public:
    // Runs a step's work: the window shows itself busy meanwhile.
    using Envoltura = std::function<void(const std::function<void()>&)>;

    FacturaDeRemisiones(Conexion& cnnPrincipal, Conexion& cnnTemporal);

    // "Aplicar": refuses (Rechazo) a selection that SeleccionDeFactura::Valida refuses, or a
    // lost lock, before anything changes.
    TotalesDeFactura AplicaPorcentaje(const SeleccionDeFactura& seleccion,
                                      const std::function<void()>& alAvanzar = {});
    // The same, recorded in the trail as "factura aplicar" followed by origen.
    TotalesDeFactura Aplica(const SeleccionDeFactura& seleccion, const QString& origen,
                            const Envoltura& envoltura = {},
                            const std::function<void()>& alAvanzar = {});

    // The invoice's inputs with the folio the series would take next, the client's payment
    // method and the totals of the last "Aplicar"; refuses a folio outside what the host holds.
    DatosDeFactura Propuesta(const QString& serie, const QString& cliente, const QDate& fecha,
                             const TotalesDeFactura& totales);

    // "Generar factura" from the copies of the last "Aplicar". Refuses (Rechazo), with nothing
    // changed, what RevisionDeFactura refuses. Throws ErrorOrvlib when anything fails after
    // undoing what the transaction holds; what tables without transactions keep is said in the
    // error, and QuedoAlgoEscrito() tells. alAvanzar runs after each of its four steps (1 folio
    // taken, 2 header, 3 lines, 4 notes archived and cancelled) with the folio, inside the
    // transaction: it must not let window events run.
    FacturaCreada GeneraFactura(const DatosDeFactura& datos, const QString& baseResguardo,
                                const std::function<void(int paso, qint32 folio)>& alAvanzar = {});
    // The same, recorded in the trail as "factura generar" followed by origen.
    FacturaCreada Genera(const DatosDeFactura& datos, const QString& baseResguardo,
                         const QString& origen, const Envoltura& envoltura = {},
                         const std::function<void(int paso, qint32 folio)>& alAvanzar = {});

    // What an earlier invoice that did not finish left behind, with how to finish or undo it;
    // empty when nothing. Looks at every note in the archive database, as the window opens.
    QString RastrosDeOtraFactura(const QString& baseResguardo);
    // The warning before an invoice that tables without transactions could leave half written;
    // empty when every table takes them.
    QString AvisoSinTransaccion(const QString& baseResguardo);
    bool QuedoAlgoEscrito() const { return quedoEscrito_; }

    // The clock of the invoice's Hora; tests set it.
    void PonReloj(std::function<QTime()> reloj) { reloj_ = std::move(reloj); }

private:
    // The invoice's lines of the last "Aplicar" while the working copies are as it left them;
    // read from the copies again otherwise, so the totals check refuses copies changed since.
    QVector<PartidaDeFactura> partidasAplicadas();

    std::optional<CopiasAplicadas> aplicadas_;
    std::function<QTime()> reloj_ = [] { return QTime::currentTime(); };
    bool quedoEscrito_ = false;
};
