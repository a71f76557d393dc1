#include "ui/Puntero.h"

#include <QApplication>
#include <QCursor>

namespace {

constexpr qint16 kNormal = 0;
constexpr qint16 kOcupado = 11;

qint16 actual() {
    const QCursor* c = QApplication::overrideCursor();
    return c != nullptr && c->shape() == Qt::WaitCursor ? kOcupado : kNormal;
}

} // namespace

qint16 PunteroOcupado() {
    const qint16 antes = actual();
    if (antes != kOcupado) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    return antes;
}

qint16 PunteroNormal() {
    const qint16 antes = actual();
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    return antes;
}
