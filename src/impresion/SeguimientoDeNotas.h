#pragma once

#include "impresion/LibroDeImpresion.h"

#include <QSet>
#include <QString>
#include <functional>

// Follows the notes of a run that were handed over to where they end, and writes what it learns
// in the ledger: a note sent to a PDF file printed once its file is there, written after it was
// sent and not the file found there when it was sent (files are written whole or not at all,
// synced before they take their name); one sent to
// a CUPS queue printed when its job completed, failed when the job stopped, was cancelled or
// aborted, and in the queue while it waits; one whose document never reached the queue pending
// again. A note whose queue cannot be asked keeps its state.
class SeguimientoDeNotas {
public:
    SeguimientoDeNotas(LibroDeImpresion& libro, CorridaDelLibro& corrida);

    // Brings every sent or queued note up to date once; true when none is left in a queue.
    bool Actualiza();
    // Follows the queued notes until none waits, their queue stands in their way (stopped,
    // refusing jobs, gone), the seconds are up or sigue() says to stop; sigue() runs between
    // looks, with how many wait, and lets the window's events run.
    void Sigue(int segundos, const std::function<bool(int enCola)>& sigue);
    // Why the queued notes wait: what stands in their way («la impresora «X» está detenida…»),
    // else that the printer has not got to them yet.
    QString PorQueEsperan() const;

    // The seconds a run follows its jobs: "Espera de la impresora" of the program's settings,
    // 60 when it is not set.
    static int SegundosDeEspera();
    // What tells a file from the next one written under its name: its time and size; empty when
    // there is no file.
    static QString HuellaDeArchivo(const QString& ruta);

private:
    bool actualizaCola(const QString& cola, QVector<NotaDelLibro>& cambios);
    QSet<QString> colasConNotas() const;
    // What keeps the queued notes from printing while the run waits; empty when nothing does.
    QString estorbo() const;

    LibroDeImpresion& libro_;
    CorridaDelLibro& corrida_;
};
