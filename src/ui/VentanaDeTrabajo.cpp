#include "ui/VentanaDeTrabajo.h"

#include "orvlib/AlSalir.h"
#include "ui/LimiteDeEventos.h"
#include "ui/PosicionDeVentana.h"

#include <QEvent>
#include <QKeyEvent>
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
    std::vector<std::pair<QPointer<QPushButton>, bool>> botones;
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b != cancelar) {
            botones.emplace_back(b, b->isEnabled());
            b->setEnabled(false);
        }
    }
    trabajando_ = true;
    cancelar_ = cancelar;
    const AlSalir termina([&] {
        trabajando_ = false;
        cancelar_ = nullptr;
        for (const auto& [boton, habilitado] : botones) {
            if (boton) {
                boton->setEnabled(habilitado);
            }
        }
    });
    accion();
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
        Protegido([this] { alDescargar(); });
        Protegido([this] { PosicionDeVentana::GuardaPosicion(this); });
    }
    QDialog::done(resultado);
}
