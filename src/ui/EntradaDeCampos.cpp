#include "ui/EntradaDeCampos.h"

#include "orvlib/libKwtm.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

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
    Conecta(caja, tipo, [caja, siInvalida] {
        ValidaFecha(caja, siInvalida);
        return true;
    });
}

void EntradaDeCampos::PreparaFecha(QLineEdit* caja) {
    if (caja->inputMask().isEmpty()) {
        caja->setInputMask(libKwtm::MascaraFecha());
    }
}

void EntradaDeCampos::ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida) {
    if (libKwtm::LeeFecha(caja->text()).isValid()) {
        return;
    }
    caja->setText(siInvalida == FechaInvalida::Hoy ? libKwtm::TextoDeFecha(QDate::currentDate())
                                                   : QString());
}

bool EntradaDeCampos::teclaPulsada(QLineEdit* caja, QKeyEvent* tecla) {
    int codigo = tecla->key();
    libKwtm::Teclas(codigo, caja);
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
    libKwtm::Enter(caracter, tipo_, caja);
    return caracter == 0;
}

bool EntradaDeCampos::eventFilter(QObject* objeto, QEvent* evento) {
    auto* caja = qobject_cast<QLineEdit*>(objeto);
    switch (evento->type()) {
    case QEvent::FocusIn:
        QTimer::singleShot(0, caja, [caja] { libKwtm::Resalta(caja); });
        break;
    case QEvent::KeyPress:
        return teclaPulsada(caja, static_cast<QKeyEvent*>(evento));
    case QEvent::FocusOut: {
        // Only a move to another field validates, as in the original forms; a message box or
        // another window taking the focus does not.
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
