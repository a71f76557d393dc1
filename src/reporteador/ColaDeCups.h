#pragma once

#include <QHash>
#include <QString>

// A printer queue of CUPS as a print run and the set-up check need it: whether the document
// just handed to the queue became a job CUPS accepted, and how the queue and its scheduler
// stand. Through libcups, the library Qt's printing sends documents with.
class ColaDeCups {
public:
    // How a queue stands.
    struct Estado {
        bool servicio = false;       // the scheduler answers
        bool existe = false;         // the queue is defined in it
        bool aceptaTrabajos = false; // not refused with cupsreject
        bool detenida = false;       // stopped (cupsdisable): jobs wait in it
        QString mensaje;             // the queue's own state message, if any
    };

    // Called before a document is sent to the queue: remembers this account's last job there
    // and the time.
    explicit ColaDeCups(const QString& cola);

    // What became of a document handed over: the job CUPS made of it (0 when none) and its
    // state, and why it was not taken, in Spanish, naming the queue and what CUPS said; empty
    // when CUPS holds it as a job still to print or printed (held, pending, processing or
    // completed; a stopped queue keeps it pending).
    struct Entrega {
        int trabajo = 0;
        int estado = 0;
        QString rechazo;
    };
    // Called right after the document was handed over under that title.
    Entrega Entregado(const QString& titulo) const;

    // Whether a job in that IPP state (3 pending … 9 completed) counts as taken by the printer.
    static bool Aceptado(int estadoIpp);
    // The state's word in Spanish ("pendiente", "abortado"…).
    static QString NombreDelEstado(int estadoIpp);

    // Whether a job in that state has ended printed (completed), or ended without printing
    // (stopped, cancelled or aborted); neither while it waits or prints.
    static bool Impreso(int estadoIpp);
    static bool Fallido(int estadoIpp);
    // The states of this account's jobs on the queue, by job number, in one request.
    static QHash<int, int> EstadosDeTrabajos(const QString& cola);
    // The newest job of this account on the queue under that title made at that time (seconds
    // since 1970) or later; 0 when there is none.
    static int TrabajoTitulado(const QString& cola, const QString& titulo, qint64 desde);
    // Why a job ended without printing, in Spanish, with CUPS's own words after it.
    static QString Causa(int trabajo, int estadoIpp);
    // Why the queue keeps its jobs waiting («la impresora «X» está detenida»); empty when it
    // does not stand in their way.
    static QString Espera(const QString& cola);

    static Estado EstadoDe(const QString& cola);
    // Whether the scheduler answers, and its address as the programs use it.
    static bool ServicioResponde();
    static QString Servidor();

private:
    QString cola_;
    int ultimoAntes_ = 0;
    long long enviado_ = 0; // when the document was sent, in seconds since 1970
};
