#pragma once

#include <QPair>
#include <QString>
#include <QVector>
#include <optional>

class Conexion;
struct ResultadoDeImpresion;

// Where a print run of the working copies stopped, so that another run prints the rest of the
// same copies: the first copy it did not print (its Id, place in the run and folio) and the
// fingerprint of the working tables it printed from. The program folder's settings keep the
// last one of each job, for the command line.
class CorridaDetenida {
public:
    // The working copies in print order, by Id and folio ("A 1501"), and the fingerprint of
    // the working tables, read before a run: a run that loses the server is placed without it.
    struct Copias {
        QString huella;
        QVector<QPair<qint32, QString>> folios;
    };
    static Copias LeeCopias(Conexion& cnn);

    // Where to go on after a run over those copies; none when it ended or left nothing to go
    // on from.
    static std::optional<CorridaDetenida> Tras(const ResultadoDeImpresion& resultado,
                                               const Copias& copias);

    // The stopped run the settings keep for the job (its name in the trail: "tope imprimir",
    // "tope imprimir (consola)"); none when its last run ended whole.
    static std::optional<CorridaDetenida> Lee(const QString& trabajo);
    // Kept for the job after a run that stopped; forgotten after one that ended.
    static void Anota(const QString& trabajo, const std::optional<CorridaDetenida>& detenida);

    // Throws Rechazo when the working tables are not the ones the run printed from: the job
    // was run again on other notes or inputs, or the notes' copies changed.
    void Verifica(Conexion& cnn) const;
    // The same run going on from the copy with that folio ("1501" or, with series, "A 1501");
    // Rechazo when the tables changed or no copy of the run has it.
    CorridaDetenida DesdeElFolio(Conexion& cnn, const QString& folio) const;

    // «Continuar desde la remisión 2 (folio A 1501)», with the mnemonic on its m.
    QString Oferta() const;
    // The resumed run's line in the trail: "desde la remisión 2 de 3 (folio A 1501)".
    QString ParaLaBitacora() const;

    qint32 id = 0;
    int numero = 0; // the copy's place in the whole run, from 1
    int total = 0;
    QString folio;
    QString huella;
};
