#include "interfaz/BotonDeContinuar.h"

#include "impresion/ImpresionDeRemisiones.h"
#include "servicios/Rechazo.h"

BotonDeContinuar::BotonDeContinuar(QWidget* parent)
    : QPushButton(QStringLiteral("Continuar desde la re&misión"), parent) {
    setVisible(false);
}

void BotonDeContinuar::Tras(const ResultadoDeImpresion& resultado,
                            const CorridaDetenida::Copias& copias,
                            const VigenciaDeRemisiones* vigencia, const QString& trabajo) {
    detenida_ = CorridaDetenida::Tras(resultado, copias);
    CorridaDetenida::Anota(trabajo, detenida_);
    if (!detenida_) {
        Retira();
        return;
    }
    if (vigencia != nullptr) {
        vigencia_ = *vigencia;
    }
    setText(detenida_->Oferta());
    setVisible(true);
    setEnabled(true);
}

void BotonDeContinuar::Retira() {
    detenida_.reset();
    vigencia_.Olvida();
    setVisible(false);
}

CorridaDetenida BotonDeContinuar::Verificada(Conexion& cnn, const QString& quehacer) {
    if (!detenida_) {
        throw Rechazo(QStringLiteral("No hay una impresión detenida que continuar."));
    }
    try {
        detenida_->Verifica(cnn);
    } catch (const Rechazo&) {
        Retira();
        throw;
    }
    vigencia_.Verifica(cnn, quehacer);
    return *detenida_;
}
