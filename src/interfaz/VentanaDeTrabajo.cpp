#include "interfaz/VentanaDeTrabajo.h"

#include "interfaz/LimiteDeEventos.h"
#include "interfaz/PosicionDeVentana.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/CandadoDeReimpresion.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <utility>
#include <vector>

VentanaDeTrabajo::VentanaDeTrabajo(const QString& nombre, QWidget* parent)
    : QDialog(parent) {
    setObjectName(nombre);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void VentanaDeTrabajo::RestauraPosicion() {
    Protegido([this] { PosicionDeVentana::AplicaPosicion(this); });
}

bool VentanaDeTrabajo::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate && primeraActivacion_) {
        primeraActivacion_ = false;
        Protegido([this] { alActivarPorPrimeraVez(); });
    }
    return QDialog::event(evento);
}

void VentanaDeTrabajo::Trabaja(const std::function<void()>& accion, QPushButton* cancelar) {
    if (trabajando_) {
        return;
    }
    // Set first: disabling the field with the focus validates it, and nothing it changes may
    // enable a button meanwhile.
    trabajando_ = true;
    cancelar_ = cancelar;
    const QPointer<QWidget> foco = focusWidget();
    std::vector<std::pair<QPointer<QWidget>, bool>> controles;
    for (QWidget* w : findChildren<QWidget*>()) {
        const bool deEntrada = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w);
        if (deEntrada && w != cancelar) {
            controles.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    }
    const AlSalir termina([&] {
        trabajando_ = false;
        cancelar_ = nullptr;
        // A second click or keys typed during the run reach disabled controls and are lost.
        QCoreApplication::processEvents();
        for (const auto& [control, habilitado] : controles) {
            if (control) {
                control->setEnabled(habilitado);
            }
        }
        // The focus left the control it was in when that was disabled: it goes back there.
        const QWidget* ahora = focusWidget();
        if (foco && foco->isEnabled() && foco->isVisible() &&
            (ahora == nullptr || !ahora->isEnabled())) {
            foco->setFocus(Qt::OtherFocusReason);
        }
    });
    accion();
}

bool VentanaDeTrabajo::Accion(const std::function<void()>& manejador) {
    return Protegido(
        [&] {
            if (sinConexion_) {
                reconecta();
                sinConexion_ = false;
            }
            manejador();
        },
        [this] { PierdeLaConexion(); });
}

bool VentanaDeTrabajo::Consulta(const std::function<void()>& manejador) {
    if (sinConexion_) {
        return false;
    }
    return Protegido(manejador, [this] { PierdeLaConexion(); });
}

void VentanaDeTrabajo::PierdeLaConexion() {
    sinConexion_ = true;
    Protegido([this] { alPerderLaConexion(); });
}

void VentanaDeTrabajo::reject() {
    if (trabajando_) {
        // Closing now would drop the working tables under the running action.
        if (cancelar_ != nullptr && cancelar_->isEnabled()) {
            cancelar_->click();
        }
        return;
    }
    QDialog::reject();
}

void VentanaDeTrabajo::keyPressEvent(QKeyEvent* evento) {
    // A button with the focus takes Enter itself; anywhere else (the grid) Enter does nothing.
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void VentanaDeTrabajo::done(int resultado) {
    if (trabajando_) {
        return;
    }
    if (!descargada_) {
        descargada_ = true;
        // After a loss there is nothing left on the server to clean up, and nothing to say.
        Protegido([this] {
            try {
                alDescargar();
            } catch (const ErrorOrvlib& e) {
                if (!ExplicacionDeError::PerdioLaConexion(e)) {
                    throw;
                }
            }
        });
        Protegido([this] { PosicionDeVentana::GuardaPosicion(this); });
    }
    QDialog::done(resultado);
}
