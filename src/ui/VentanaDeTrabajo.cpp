#include "ui/VentanaDeTrabajo.h"

#include "hostdata/Posiciones.h"
#include "ui/LimiteDeEventos.h"

#include <QEvent>

VentanaDeTrabajo::VentanaDeTrabajo(const QString& nombre, QWidget* parent)
    : QDialog(parent) {
    setObjectName(nombre);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void VentanaDeTrabajo::RestauraPosicion() {
    Protegido([this] { Posiciones::AplicaPosicion(this); });
}

bool VentanaDeTrabajo::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate && primeraActivacion_) {
        primeraActivacion_ = false;
        Protegido([this] { alActivarPorPrimeraVez(); });
    }
    return QDialog::event(evento);
}

void VentanaDeTrabajo::done(int resultado) {
    if (!descargada_) {
        descargada_ = true;
        Protegido([this] { alDescargar(); });
        Protegido([this] { Posiciones::GuardaPosicion(this); });
    }
    QDialog::done(resultado);
}
