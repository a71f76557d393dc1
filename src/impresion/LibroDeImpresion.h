#pragma once

#include "orvlib/Conexion.h"

#include <QPair>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

// Where a note of a print run stands: not yet sent, being handed over (its outcome not known
// yet), waiting in a printer's queue, printed, or failed.
enum class EstadoDeNota { Pendiente, Enviada, EnCola, Impresa, Fallida };

// One note of a print run as the ledger keeps it: its place in the run (from 1), the working
// copy's Id and folio ("A 1501"), its state, where it went (a CUPS queue, a PDF file or the
// run's one PDF) and under which document name, its CUPS job, why it failed, and when it was
// sent (milliseconds since 1970).
struct NotaDelLibro {
    int numero = 0;
    qint32 id = 0;
    QString folio;
    EstadoDeNota estado = EstadoDeNota::Pendiente;
    QString destino;
    QString documento;
    int trabajoCups = 0;
    QString causa;
    qint64 enviada = 0;
    // The file found at a file destination when the note was sent (its time and size), empty
    // when there was none: that file is not the note's.
    QString previo;
};

// A print run of the ledger: its job ("tope", "porcentaje"), the job's parameters, the
// fingerprint of the working tables it prints and its notes in print order.
struct CorridaDelLibro {
    qint64 id = 0;
    QString trabajo;
    QString parametros;
    QString huella;
    QVector<NotaDelLibro> notas;

    int Cuenta(EstadoDeNota estado) const;
    // The first note that is neither printed nor waiting in a queue; null when there is none.
    const NotaDelLibro* PrimeraSinImprimir() const;
    // The note with that folio, whole ("A 1501") or without its series ("1501"); null if none.
    const NotaDelLibro* ConFolio(const QString& folio) const;
};

// The print ledger: every print run of the reprint jobs with the state of each of its notes,
// in an SQLite file of the program folder. Each change is written durably before the call
// returns, so that a run killed at any instant leaves a record true to within the note being
// sent. Failures throw ErrorOrvlib naming the file.
class LibroDeImpresion {
public:
    // Impresiones.sqlite in the program folder.
    static QString Archivo();

    explicit LibroDeImpresion(const QString& archivo = Archivo());

    // Writes a new run of the job with its notes, every one pending; returns it numbered.
    CorridaDelLibro Abre(CorridaDelLibro corrida);
    // The job's last run; none when the job never printed.
    std::optional<CorridaDelLibro> Ultima(const QString& trabajo);
    // The notes' new states, written together.
    void Anota(qint64 corrida, const QVector<NotaDelLibro>& notas);
    void Anota(qint64 corrida, const NotaDelLibro& nota) { Anota(corrida, QVector{nota}); }

    static QString NombreDelEstado(EstadoDeNota estado);

private:
    void creaTablas();
    void agregaColumnaPrevio();
    bool tieneColumnaPrevio();
    void transaccion(const std::function<void()>& pasos);

    QString archivo_;
    Conexion cnn_;
};
