#pragma once

#include "impresion/LibroDeImpresion.h"
#include "trabajos/VigenciaDeRemisiones.h"

#include <QPushButton>
#include <optional>

class Conexion;

// The reprint windows' offer for the job's last print run, when the working tables are the ones
// it printed: «Continuar desde la remisión k (folio …)» while some of its notes did not print,
// «Reimprimir desde una remisión…» once none is left. Hidden otherwise. It outlives a lost
// server: before printing, the host notes are checked again as the job read them.
class BotonDeContinuar : public QPushButton {
public:
    explicit BotonDeContinuar(QWidget* parent = nullptr);

    // Looks at the job's last run ("tope") in the ledger against the working tables as they
    // are; vigencia holds the host notes as the job read them. A ledger that cannot be read
    // leaves no offer: printing says why.
    void Revisa(Conexion& cnn, const QString& trabajo, const VigenciaDeRemisiones& vigencia);
    // The offer for a run just made (needs no server: one that was lost is checked again
    // before printing).
    void Ofrece(const CorridaDelLibro& corrida, const VigenciaDeRemisiones& vigencia);
    // The job was applied again or the tables changed: nothing to offer.
    void Retira();
    // Whether the offer is to go on (else to reprint from a note).
    bool Continua() const { return continua_; }
    // Checks the host notes again; Rechazo when they changed, and the offer is withdrawn.
    void VerificaNotas(Conexion& cnn, const QString& quehacer);

    // The host notes as the job read them for the offered run.
    const VigenciaDeRemisiones& Vigencia() const { return vigencia_; }
    // The job's last run as the offer saw it.
    const std::optional<CorridaDelLibro>& Corrida() const { return corrida_; }

private:
    std::optional<CorridaDelLibro> corrida_;
    bool continua_ = false;
    VigenciaDeRemisiones vigencia_;
};
