#pragma once

#include "impresion/CorridaDetenida.h"
#include "trabajos/VigenciaDeRemisiones.h"

#include <QPushButton>
#include <optional>

class Conexion;
struct ResultadoDeImpresion;

// The reprint windows' offer after a print run that stopped or was cancelled: «Continuar desde
// la remisión k+1 (folio …)», and the run it goes on with. Hidden while there is none. The offer
// outlives a lost server: going on checks the tables and the notes again.
class BotonDeContinuar : public QPushButton {
public:
    explicit BotonDeContinuar(QWidget* parent = nullptr);

    // After a run of the job (its name in the trail) over those copies, whose host notes were
    // as vigencia read them (as for the offer's run when null): offers to go on where it
    // stopped, or withdraws the offer when it ended; the settings keep it for the command line.
    void Tras(const ResultadoDeImpresion& resultado, const CorridaDetenida::Copias& copias,
              const VigenciaDeRemisiones* vigencia, const QString& trabajo);
    // The job was applied again: nothing to go on with.
    void Retira();
    // Where the offered run goes on from, once the working tables are checked to be the ones
    // the stopped run printed from and the host notes unchanged; Rechazo when they are not,
    // and the offer of changed tables is withdrawn.
    CorridaDetenida Verificada(Conexion& cnn, const QString& quehacer);

private:
    std::optional<CorridaDetenida> detenida_;
    VigenciaDeRemisiones vigencia_;
};
