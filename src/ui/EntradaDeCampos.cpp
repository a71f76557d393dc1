#include "ui/EntradaDeCampos.h"

#include "hostdata/Dialogos.h"
#include "orvlib/libKwtm.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

// Next or previous widget in the window's tab chain that can take the focus.
void mueveFoco(QWidget* control, bool adelante) {
    if (control == nullptr) {
        return;
    }
    QWidget* w = control;
    do {
        w = adelante ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            w->window() == control->window()) {
            w->setFocus(adelante ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w != control);
}

} // namespace

void EntradaDeCampos::Resalta(QWidget* control) {
    if (auto* caja = qobject_cast<QLineEdit*>(control)) {
        caja->selectAll();
    }
}

void EntradaDeCampos::Teclas(int& tecla, QWidget* control) {
    if (tecla == Qt::Key_Down || tecla == Qt::Key_Up) {
        mueveFoco(control, tecla == Qt::Key_Down);
        tecla = 0;
    }
}

void EntradaDeCampos::Enter(int& caracter, const QString& tipo, QWidget* control) {
    if (caracter == '\r') {
        mueveFoco(control, true);
        caracter = 0;
        return;
    }
    if (tipo != QLatin1String("9") || caracter < 32) {
        return;
    }
    const bool numerico = (caracter >= '0' && caracter <= '9') || caracter == '.' ||
                          caracter == ',' || caracter == '-';
    if (!numerico) {
        caracter = 0;
    }
}

EntradaDeCampos::EntradaDeCampos(QLineEdit* caja, QString tipo, Validacion valida)
    : QObject(caja)
    , tipo_(std::move(tipo))
    , valida_(std::move(valida)) {
    caja->installEventFilter(this);
}

void EntradaDeCampos::Conecta(QLineEdit* caja, const QString& tipo, Validacion valida) {
    new EntradaDeCampos(caja, tipo, std::move(valida));
}

void EntradaDeCampos::ConectaFecha(QLineEdit* caja, const QString& tipo, FechaInvalida siInvalida) {
    PreparaFecha(caja);
    Conecta(caja, tipo, [caja, siInvalida] { return ValidaFecha(caja, siInvalida); });
}

void EntradaDeCampos::PreparaFecha(QLineEdit* caja) {
    if (caja->inputMask().isEmpty()) {
        caja->setInputMask(libKwtm::MascaraFecha());
    }
}

namespace {

// A masked box with nothing typed shows only its mask's separators.
bool sinEscribir(const QLineEdit* caja) {
    QString texto = caja->text();
    return texto.remove(QLatin1Char('/')).trimmed().isEmpty();
}

} // namespace

bool EntradaDeCampos::FechaAceptable(const QLineEdit* caja) {
    return sinEscribir(caja) || libKwtm::LeeFecha(caja->text()).isValid();
}

QString EntradaDeCampos::AvisoDeFecha(const QLineEdit* caja) {
    return QStringLiteral("La fecha «%1» no es válida; escríbala como día/mes/año (DD/MM/AAAA).")
        .arg(caja->text());
}

bool EntradaDeCampos::ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida) {
    if (libKwtm::LeeFecha(caja->text()).isValid()) {
        return true;
    }
    if (siInvalida == FechaInvalida::Rechaza && !sinEscribir(caja)) {
        Dialogos::actual().mensaje(AvisoDeFecha(caja), QStringLiteral("Atención"),
                                   Dialogos::Icono::Advertencia);
        return false;
    }
    caja->setText(siInvalida == FechaInvalida::Vacia ? QString()
                                                     : libKwtm::TextoDeFecha(QDate::currentDate()));
    return true;
}

bool EntradaDeCampos::teclaPulsada(QLineEdit* caja, QKeyEvent* tecla) {
    int codigo = tecla->key();
    Teclas(codigo, caja);
    if (codigo == 0) {
        return true;
    }
    int caracter = 0;
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
        caracter = '\r';
    } else if (!tecla->text().isEmpty() && tecla->text().front().isPrint()) {
        caracter = tecla->text().front().unicode();
    } else {
        return false;
    }
    Enter(caracter, tipo_, caja);
    return caracter == 0;
}

bool EntradaDeCampos::eventFilter(QObject* objeto, QEvent* evento) {
    auto* caja = qobject_cast<QLineEdit*>(objeto);
    switch (evento->type()) {
    case QEvent::FocusIn:
        QTimer::singleShot(0, caja, [caja] { Resalta(caja); });
        break;
    case QEvent::KeyPress:
        return teclaPulsada(caja, static_cast<QKeyEvent*>(evento));
    case QEvent::FocusOut: {
        // Only a move to another field validates; a message box or another window taking
        // the focus does not.
        const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason || !valida_) {
            break;
        }
        if (!valida_()) {
            QTimer::singleShot(0, caja, [caja] { caja->setFocus(Qt::OtherFocusReason); });
        }
        break;
    }
    default:
        break;
    }
    return false;
}
