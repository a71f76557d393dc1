#pragma once

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

    // Called right after the document was handed over under that title: "" when CUPS made it a
    // job it accepted (held, pending, processing or completed; a stopped queue keeps it
    // pending), else why not in Spanish, naming the queue and what CUPS said.
    QString Rechazo(const QString& titulo) const;

    // Whether a job in that IPP state (3 pending … 9 completed) counts as taken by the printer.
    static bool Aceptado(int estadoIpp);
    // The state's word in Spanish ("pendiente", "abortado"…).
    static QString NombreDelEstado(int estadoIpp);

    static Estado EstadoDe(const QString& cola);
    // Whether the scheduler answers, and its address as the programs use it.
    static bool ServicioResponde();
    static QString Servidor();

private:
    QString cola_;
    int ultimoAntes_ = 0;
    long long enviado_ = 0; // when the document was sent, in seconds since 1970
};
