#include "interfaz/VentanaDeReimpresion.h"

#include "impresion/ImpresionDeRemisiones.h"
#include "interfaz/BotonDeContinuar.h"
#include "interfaz/EntradaDeCampos.h"
#include "interfaz/LimiteDeEventos.h"
#include "interfaz/VistaDeLaCorrida.h"
#include "orvlib/AlSalir.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/CandadoDeReimpresion.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

VentanaDeReimpresion::VentanaDeReimpresion(const QString& nombre, QWidget* parent)
    : VentanaDeTrabajo(nombre, parent)
    , candado_(std::make_unique<CandadoDeReimpresion>(cnn_)) {}

VentanaDeReimpresion::~VentanaDeReimpresion() = default;

void VentanaDeReimpresion::Carga(const std::function<void()>& propia) {
    RestauraPosicion();
    const bool cargada = Protegido([this, &propia] {
        BasesDD& bases = *Proceso::actual().bases;
        if (!bases.AbrirBdD(cnn_)) {
            throw ErrorOrvlib(cnn_.ultimoNumero(), cnn_.ultimoError(), bases.cMiBase);
        }
        if (!candado_->Toma()) {
            throw Rechazo(candado_->Aviso());
        }
        propia();
    });
    if (!cargada) {
        // Without its connection the window has nothing to work on: it closes after the alert.
        QTimer::singleShot(0, this, &QDialog::reject);
    }
}

void VentanaDeReimpresion::VerificaCandado() {
    try {
        candado_->Verifica();
    } catch (const Rechazo&) {
        PierdeLaConexion();
        throw;
    }
}

void VentanaDeReimpresion::reconecta() {
    BasesDD& bases = *Proceso::actual().bases;
    if (!bases.AbrirBdD(cnn_)) {
        throw ErrorOrvlib(cnn_.ultimoNumero(), cnn_.ultimoError(), bases.cMiBase);
    }
    if (!candado_->Toma()) {
        BasesDD::CierraBdD(cnn_);
        throw Rechazo(candado_->Aviso());
    }
}

void VentanaDeReimpresion::alPerderLaConexion() {
    limpiaResultados();
    BasesDD::CierraBdD(cnn_);
}

void VentanaDeReimpresion::alDescargar() {
    // Closing the connection also lets the lock go.
    const AlSalir cierra([this] { BasesDD::CierraBdD(cnn_); });
    // The working tables are another window's while this one could not take the lock, or
    // since it lost the server.
    if (candado_->Tomado() && cnn_.abierta() && !SinConexion()) {
        borraTablasDeTrabajo();
        // Let go at once: the server frees a closed connection's lock only when it notices.
        candado_->Suelta();
    }
}

void VentanaDeReimpresion::ConectaCampo(QLineEdit* caja, const QString& tipo,
                                        std::function<bool()> valida, QLabel* aviso) {
    EntradaDeCampos::Conecta(caja, tipo, std::move(valida), aviso);
    connect(caja, &QLineEdit::textChanged, this, [this] { alCambiarEntradas(); });
}

void VentanaDeReimpresion::ConectaImpresion(
    QPushButton* imprimir, BotonDeContinuar* continuar, QPushButton* vistaPrevia,
    QPushButton* cancelar, std::function<void(bool)> imprime,
    const std::unique_ptr<ImpresionDeRemisiones>& impresion) {
    connect(imprimir, &QPushButton::clicked, this,
            [this, imprime] { Accion([&imprime] { imprime(false); }); });
    connect(continuar, &QPushButton::clicked, this,
            [this, imprime] { Accion([&imprime] { imprime(true); }); });
    connect(vistaPrevia, &QPushButton::clicked, this, [this] {
        Accion([this] {
            VerificaCandado();
            VistaDeLaCorrida::Muestra(*this, Cnn());
        });
    });
    connect(cancelar, &QPushButton::clicked, this, [&impresion] {
        if (impresion) {
            impresion->Cancela();
        }
    });
}
