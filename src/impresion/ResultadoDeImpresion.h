#pragma once

#include "orvlib/ErrorOrvlib.h"

#include <QString>
#include <optional>

// How a print run ended: of the notes it was to print, how many printed, wait in a printer's
// queue or failed there, and whether it was cancelled or stopped at a note it could not print.
struct ResultadoDeImpresion {
    int total = 0;
    int impresas = 0;
    int enCola = 0;
    int conError = 0;
    QString porQueEsperan;   // why the queued notes wait («la impresora «X» está detenida»)
    QString primerError;     // the first failed note and its cause, as CUPS gave it
    QString destino;         // where the notes went: the printer's queue, PDF folder or file
    QString dondeQuedaron;   // «En la carpeta …» or «En el archivo …» of the PDFs written
    bool cancelada = false;  // stopped by the user before its last note
    QString remisionFallida; // serie and folio of the note that stopped the run
    QString error;           // what stopped it
    // The program's error that stopped it, to be explained from its number and text; none when
    // the run stopped on anything else. An engine's error comes without the template's name,
    // which the message gives already.
    std::optional<ErrorOrvlib> causa;
    // The note that stopped the run came out (and is counted); what failed came after it.
    bool fallidaImpresa = false;

    bool Fallo() const { return !error.isEmpty(); }
    bool Completa() const { return !Fallo() && !cancelada && impresas == total; }
    // What the window and the command line say at the end: all printed ("Remisiones impresas:
    // N"); the counts of printed, queued and failed notes; cancelled with the count; or stopped
    // at a note with the template and the error.
    QString Mensaje() const;
    // Of a run that stopped: at which note (or that it could not begin), with the template, and
    // the counts.
    QString DondeSeDetuvo() const;
    // The same for the trail of the program, on one line, with the three counts.
    QString Resumen() const;

private:
    QString cuantas() const;
    QString mensajeSinLugar() const;
};
