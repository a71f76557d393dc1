#pragma once

#include "impresion/LibroDeImpresion.h"

#include <QString>
#include <QVector>

class Conexion;

// What a print run prints, as the ledger has it: every working copy in a new run of the job;
// the notes of the job's last run that did not print, from the first of them (going on); or
// that run's notes from one of them to its end (a reprint asked for). Going on and reprinting
// are refused when the working tables are not the ones the run printed. The texts say what will
// happen before it does, and what did in the trail.
class PlanDeImpresion {
public:
    enum class Clase { Nueva, Continuacion, Reimpresion };

    // Every working copy, for a new run of the job ("tope") with those parameters.
    static PlanDeImpresion Nueva(Conexion& cnn, const QString& trabajo, const QString& parametros);
    // The job's last run, brought up to date, going on from its first note not printed; Rechazo
    // when it has none or the working tables changed.
    static PlanDeImpresion Continuacion(LibroDeImpresion& libro, Conexion& cnn,
                                        const QString& trabajo);
    // The job's last run, brought up to date, from the note with that folio ("A 1501" or
    // "1501") to its end; Rechazo when no note has it or the working tables changed.
    static PlanDeImpresion Reimpresion(LibroDeImpresion& libro, Conexion& cnn,
                                       const QString& trabajo, const QString& folio);
    // The fingerprint of the working tables: the server's checksum of their rows.
    static QString Huella(Conexion& cnn);
    // The job's last run brought up to date; none when the job never printed.
    static std::optional<CorridaDelLibro> Ultima(LibroDeImpresion& libro, const QString& trabajo);

    // A new run is opened in the ledger when it starts; the others go on in theirs.
    void Inicia(LibroDeImpresion& libro);

    Clase clase() const { return clase_; }
    CorridaDelLibro& corrida() { return corrida_; }
    const CorridaDelLibro& corrida() const { return corrida_; }
    // The places in the run (from 1) of the notes to print, in order.
    const QVector<int>& numeros() const { return numeros_; }
    // The notes before the first to print that never printed: a reprint leaves them out.
    int Omitidas() const;

    // The question before printing: how many notes, from which to which and, going on or
    // reprinting, how many of them were already printed and which are left out.
    QString Pregunta() const;
    // The run's part in the trail: the job's parameters and, going on or reprinting, its first
    // and last note.
    QString ParaLaBitacora() const;

    static QString PreguntaBase() { return QStringLiteral("¿Desea imprimir estas remisiones?"); }

private:
    PlanDeImpresion(Clase clase, CorridaDelLibro corrida, int desde);
    static CorridaDelLibro verificada(LibroDeImpresion& libro, Conexion& cnn,
                                      const QString& trabajo);
    QString tramo() const;
    QString continuacion() const;
    QString reimpresion() const;

    Clase clase_;
    CorridaDelLibro corrida_;
    QVector<int> numeros_;
};
