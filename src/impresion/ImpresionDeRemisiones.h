#pragma once

#include "orvlib/ErrorOrvlib.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class Conexion;

// How a print run ended: how many of its notes were printed, and whether it was cancelled or
// stopped at a note that could not be printed.
struct ResultadoDeImpresion {
    int total = 0;
    int impresas = 0;
    QString remisionFallida; // serie and folio of the note that stopped the run
    QString error;           // what stopped it
    // The program's error that stopped it, to be explained from its number and text; none when
    // the run stopped on anything else. An engine's error comes without the template's name,
    // which the message gives already.
    std::optional<ErrorOrvlib> causa;
    // The note that stopped the run came out (and is counted); what failed came after it.
    bool fallidaImpresa = false;
    // The first working copy (its Id) the run did not print, where another run would go on
    // from; 0 when there is none, or when a run into one PDF left no file.
    qint32 idSiguiente = 0;

    bool Fallo() const { return !error.isEmpty(); }
    bool Completa() const { return !Fallo() && impresas == total; }
    // What the window and the command line say at the end: all printed ("Remisiones impresas:
    // N"), "n de N" printed and cancelled, or stopped at a note with the template and the error.
    QString Mensaje() const;
    // The same for the trail of the program, on one line.
    QString Resumen() const;
};

// The print run both reprint jobs share: every working copy in tmpremisiones, in Id order, to
// the delivery-note template, each with its client's note text and, when the host uses several
// tax rates, its tax breakdown. The template is checked and the run's connections and auxiliary
// file made once, before the first note. A cancel takes effect after the document in progress;
// the first note the engine cannot print stops the run, and so does a clean-up that fails after
// a note came out, which is then counted as printed. A run into one PDF closes it after its
// last note. A run may start at a copy further on, to print the rest of a stopped run.
class ImpresionDeRemisiones {
public:
    // Before each note: its place in the run (from 1), the run's size and the copy's folio.
    using Avance = std::function<void(int numero, int total, const QString& folio)>;

    explicit ImpresionDeRemisiones(Conexion& cnn);

    // From the copy with Id desde on (every copy for 0); the total counts those copies.
    ResultadoDeImpresion Imprime(const Avance& avance = {}, qint32 desde = 0);
    void Cancela() { cancelado_ = true; }

    static QString Pregunta() { return QStringLiteral("¿Desea imprimir estas remisiones?"); }
    static QString Aviso() { return QStringLiteral("Remisiones impresas"); }
    static QString Plantilla() { return QStringLiteral("fmtRemision.rpt"); }
    // Whether the runs go to one PDF file (ControlDeReporte::DirigeAPdfUnico): then a run that
    // does not end, cancelled or stopped, leaves no file and counts no note as printed.
    static bool EnUnSoloPdf();

private:
    void cierraDocumento();
    QString notasDe(const QString& cliente);
    void imprimeCopias(ResultadoDeImpresion& resultado, const Avance& avance, qint32 desde);

    Conexion& cnn_;
    bool cancelado_ = false;
    QHash<QString, QString> notasPorCliente_;
};
