#include "interfaz/EntradaDeCampos.h"

#include "interfaz/NumeroEscrito.h"
#include "orvlib/libKwtm.h"
#include "servicios/Dialogos.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
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

EntradaDeCampos::EntradaDeCampos(QLineEdit* caja, QString tipo, Validacion valida, QLabel* aviso)
    : QObject(caja)
    , tipo_(std::move(tipo))
    , valida_(std::move(valida))
    , aviso_(aviso) {
    caja->installEventFilter(this);
}

void EntradaDeCampos::Conecta(QLineEdit* caja, const QString& tipo, Validacion valida,
                              QLabel* aviso) {
    new EntradaDeCampos(caja, tipo, std::move(valida), aviso);
}

void EntradaDeCampos::ConectaFecha(QLineEdit* caja, const QString& tipo, FechaInvalida siInvalida,
                                   QLabel* aviso) {
    PreparaFecha(caja);
    Conecta(
        caja, tipo, [caja, siInvalida, aviso] { return ValidaFecha(caja, siInvalida, aviso); },
        aviso);
}

bool EntradaDeCampos::Avisa(QLabel* aviso, QLineEdit* caja, const QString& texto) {
    const char* kDe = "campoDelAviso";
    if (texto.isEmpty()) {
        if (aviso != nullptr && aviso->property(kDe).value<QObject*>() == caja) {
            aviso->clear();
            aviso->setProperty(kDe, QVariant());
        }
        return true;
    }
    if (aviso == nullptr) {
        Dialogos::actual().mensaje(texto, QStringLiteral("Atención"), Dialogos::Icono::Advertencia);
        return false;
    }
    aviso->setText(texto);
    aviso->setProperty(kDe, QVariant::fromValue<QObject*>(caja));
    aviso->setVisible(true);
    QApplication::beep();
    return false;
}

void EntradaDeCampos::Rehusa(QLabel* aviso, QLineEdit* caja, const QString& texto) {
    Avisa(aviso, caja, texto);
    caja->setFocus(Qt::OtherFocusReason);
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

namespace {

// DD/MM/AAAA kept on one line: a word joiner on each side of its slashes.
QString sinCortes(const QString& texto) {
    QString t = texto;
    return t.replace(QLatin1Char('/'), QStringLiteral("\u2060/\u2060"));
}

} // namespace

QString EntradaDeCampos::AvisoDeFecha(const QLineEdit* caja) {
    return QStringLiteral("La fecha «%1» no es válida; escríbala como día/mes/año %2.")
        .arg(caja->text(), sinCortes(QStringLiteral("(DD/MM/AAAA)")));
}

QDate EntradaDeCampos::FechaPegada(const QString& texto) {
    const QString t = texto.trimmed();
    for (const char* formato : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate fecha = QDate::fromString(t, QString::fromLatin1(formato));
        if (fecha.isValid()) {
            return fecha;
        }
    }
    return {};
}

bool EntradaDeCampos::ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida, QLabel* aviso) {
    if (libKwtm::LeeFecha(caja->text()).isValid()) {
        return Avisa(aviso, caja, QString());
    }
    if (siInvalida == FechaInvalida::Rechaza && !sinEscribir(caja)) {
        return Avisa(aviso, caja, AvisoDeFecha(caja));
    }
    caja->setText(siInvalida == FechaInvalida::Vacia ? QString()
                                                     : libKwtm::TextoDeFecha(QDate::currentDate()));
    return true;
}

void EntradaDeCampos::pega(QLineEdit* caja) {
    const QString pegado = QApplication::clipboard()->text();
    if (!caja->inputMask().isEmpty()) {
        const QDate fecha = FechaPegada(pegado);
        if (fecha.isValid()) {
            caja->setText(libKwtm::TextoDeFecha(fecha));
            Avisa(aviso_, caja, QString());
        } else {
            Avisa(aviso_, caja,
                  QStringLiteral("No se puede leer «%1» como fecha; escríbala como %2.")
                      .arg(pegado.trimmed(), sinCortes(QStringLiteral("DD/MM/AAAA"))));
        }
        return;
    }
    // A number field takes the number the clerk meant, without the words, symbol or thousands
    // separators around it; then the field's length applies.
    QString texto = pegado;
    if (tipo_ == QLatin1String("9") && !pegado.trimmed().isEmpty()) {
        const std::optional<QString> cifras = NumeroEscrito::Cifras(pegado);
        if (!cifras) {
            Avisa(aviso_, caja, NumeroEscrito::AvisoDeNumero(pegado));
            return;
        }
        texto = *cifras;
    }
    const qsizetype largo = caja->text().size() - caja->selectedText().size() + texto.size();
    if (largo > caja->maxLength()) {
        Avisa(aviso_, caja,
              texto == pegado
                  ? QStringLiteral("Este campo admite a lo más %1 caracteres; lo pegado tiene %2.")
                        .arg(caja->maxLength())
                        .arg(texto.size())
                  : QStringLiteral("Este campo admite a lo más %1 caracteres; el número pegado, "
                                   "%2, tiene %3.")
                        .arg(caja->maxLength())
                        .arg(texto)
                        .arg(texto.size()));
        return;
    }
    caja->insert(texto);
    Avisa(aviso_, caja, QString());
}

void EntradaDeCampos::menuContextual(QLineEdit* caja, QContextMenuEvent* evento) {
    QPointer<QMenu> menu = caja->createStandardContextMenu();
    // The menu's "Paste", known by its text in the language the menu is in, is replaced by one
    // that pastes as the keys do.
    const QString pegar = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* accion : menu->actions()) {
        if (accion->text().section(QLatin1Char('\t'), 0, 0) == pegar) {
            auto* propia = new QAction(accion->icon(), accion->text(), menu);
            propia->setEnabled(accion->isEnabled());
            connect(propia, &QAction::triggered, this, [this, caja] { pega(caja); });
            menu->insertAction(accion, propia);
            menu->removeAction(accion);
        }
    }
    menu->exec(evento->globalPos());
    delete menu;
}

bool EntradaDeCampos::teclaPulsada(QLineEdit* caja, QKeyEvent* tecla) {
    if (tecla->matches(QKeySequence::Paste)) {
        if (!caja->isReadOnly()) {
            pega(caja);
        }
        return true;
    }
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
    // A box being destroyed is a QLineEdit no longer: its last focus change is not a clerk's.
    if (caja == nullptr) {
        return false;
    }
    switch (evento->type()) {
    case QEvent::FocusIn:
        resaltaPendiente_ = true;
        QTimer::singleShot(0, caja, [this, caja] {
            // Unless the focus left meanwhile.
            if (resaltaPendiente_ && caja->hasFocus()) {
                resaltaPendiente_ = false;
                Resalta(caja);
            }
        });
        break;
    case QEvent::KeyPress:
        return teclaPulsada(caja, static_cast<QKeyEvent*>(evento));
    case QEvent::ContextMenu:
        // A right click that gave the field the focus finds its content selected, as a click
        // does: "Cortar" and "Copiar" work from the first menu.
        if (resaltaPendiente_) {
            resaltaPendiente_ = false;
            Resalta(caja);
        }
        menuContextual(caja, static_cast<QContextMenuEvent*>(evento));
        return true;
    case QEvent::FocusOut: {
        // Only a move to another field validates; a message box or another window taking
        // the focus does not.
        const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason) {
            break;
        }
        // One field shows a selection at a time: the one the cursor is in.
        resaltaPendiente_ = false;
        caja->deselect();
        if (!valida_) {
            break;
        }
        // Going back (Shift+Tab, the up arrow) never keeps the clerk in a field: what needs
        // mending may be an earlier one. The warning line still says why this one refuses.
        if (!valida_() && razon != Qt::BacktabFocusReason) {
            QTimer::singleShot(0, caja, [caja] { caja->setFocus(Qt::OtherFocusReason); });
        }
        break;
    }
    default:
        break;
    }
    return false;
}
