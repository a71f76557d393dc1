#include "orvlib/libKwtm.h"

#include "orvlib/ArchivoIni.h"

#include <QLineEdit>
#include <QWidget>

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

QString libKwtm::LeeIni(const QString& seccion, const QString& clave, const QString& archivo) {
    return ArchivoIni(archivo).lee(seccion, clave);
}

void libKwtm::EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                         const QString& archivo) {
    ArchivoIni(archivo).escribe(seccion, clave, valor);
}

double libKwtm::kwVal(const QString& texto) {
    QString t = texto.trimmed();
    t.remove(QLatin1Char(',')).remove(QLatin1Char('$')).remove(QLatin1Char(' '));
    if (t.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const double valor = t.toDouble(&ok);
    return ok ? valor : 0;
}

QString libKwtm::FechaSQL(const QDate& fecha) {
    return fecha.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate libKwtm::LeeFecha(const QString& texto) {
    return QDate::fromString(texto.trimmed(), FormatoFecha());
}

QString libKwtm::TextoDeFecha(const QDate& fecha) {
    return fecha.toString(FormatoFecha());
}

void libKwtm::Resalta(QWidget* control) {
    if (auto* caja = qobject_cast<QLineEdit*>(control)) {
        caja->selectAll();
    }
}

void libKwtm::Teclas(int& tecla, QWidget* control) {
    if (tecla == Qt::Key_Down || tecla == Qt::Key_Up) {
        mueveFoco(control, tecla == Qt::Key_Down);
        tecla = 0;
    }
}

void libKwtm::Enter(int& caracter, const QString& tipo, QWidget* control) {
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

QString libKwtm::Pad(const QString& valor, int ancho, const QString& relleno, int lado) {
    const QChar c = relleno.isEmpty() ? QLatin1Char(' ') : relleno.front();
    if (valor.size() >= ancho) {
        return valor;
    }
    const qsizetype falta = ancho - valor.size();
    switch (lado) {
    case 2:
        return QString(falta, c) + valor;
    case 1:
        return QString(falta / 2, c) + valor + QString(falta - falta / 2, c);
    default:
        return valor + QString(falta, c);
    }
}
