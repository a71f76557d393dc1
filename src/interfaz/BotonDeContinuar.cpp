#include "interfaz/BotonDeContinuar.h"

#include "impresion/PlanDeImpresion.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Rechazo.h"

BotonDeContinuar::BotonDeContinuar(QWidget* parent)
    : QPushButton(QStringLiteral("Continuar desde la re&misión"), parent) {
    setVisible(false);
}

void BotonDeContinuar::Revisa(Conexion& cnn, const QString& trabajo,
                              const VigenciaDeRemisiones& vigencia) {
    Retira();
    try {
        LibroDeImpresion libro;
        const std::optional<CorridaDelLibro> corrida = PlanDeImpresion::Ultima(libro, trabajo);
        if (corrida && corrida->huella == PlanDeImpresion::Huella(cnn)) {
            Ofrece(*corrida, vigencia);
        }
    } catch (const ErrorOrvlib&) {
        Retira();
    }
}

void BotonDeContinuar::Ofrece(const CorridaDelLibro& corrida,
                              const VigenciaDeRemisiones& vigencia) {
    Retira();
    if (corrida.notas.isEmpty()) {
        return;
    }
    corrida_ = corrida;
    vigencia_ = vigencia;
    const NotaDelLibro* primera = corrida_->PrimeraSinImprimir();
    continua_ = primera != nullptr;
    setText(continua_ ? QStringLiteral("Continuar desde la re&misión %1 (folio %2)")
                            .arg(primera->numero)
                            .arg(primera->folio)
                      : QStringLiteral("Reimprimir desde una re&misión…"));
    setVisible(true);
    setEnabled(true);
}

void BotonDeContinuar::Retira() {
    corrida_.reset();
    continua_ = false;
    vigencia_.Olvida();
    setVisible(false);
}

void BotonDeContinuar::VerificaNotas(Conexion& cnn, const QString& quehacer) {
    try {
        vigencia_.Verifica(cnn, quehacer);
    } catch (const Rechazo&) {
        Retira();
        throw;
    }
}
