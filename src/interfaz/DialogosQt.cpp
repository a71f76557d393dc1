#include "interfaz/DialogosQt.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// The program's texts break lines with CR or CR LF; a label breaks them on LF.
QString paraMostrar(QString texto) {
    return texto.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QMessageBox::Icon iconoQt(Dialogos::Icono icono) {
    switch (icono) {
    case Dialogos::Icono::Informacion:
        return QMessageBox::Information;
    case Dialogos::Icono::Advertencia:
        return QMessageBox::Warning;
    case Dialogos::Icono::Critico:
        return QMessageBox::Critical;
    case Dialogos::Icono::Pregunta:
        return QMessageBox::Question;
    case Dialogos::Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

// The job window in front, so a box opens over it and not over the menu.
QWidget* ventanaDelFrente() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : QApplication::activeWindow();
}

// The details button in Spanish, short enough for the button made for its English text, and
// named again after each click, which names it anew.
void traduceDetalles(QMessageBox& caja) {
    for (QAbstractButton* b : caja.buttons()) {
        if (caja.buttonRole(b) == QMessageBox::ActionRole) {
            const auto nombra = [b] { b->setText(QStringLiteral("Detalles…")); };
            nombra();
            QObject::connect(b, &QAbstractButton::clicked, &caja,
                             [b, nombra] { QTimer::singleShot(0, b, nombra); });
        }
    }
}

} // namespace

void DialogosQt::mensaje(const QString& texto, const QString& titulo, Icono icono) {
    mensajeConDetalle(texto, QString(), titulo, icono);
}

void DialogosQt::mensajeConDetalle(const QString& texto, const QString& detalle,
                                   const QString& titulo, Icono icono) {
    QMessageBox caja(iconoQt(icono), titulo, paraMostrar(texto), QMessageBox::Ok,
                     ventanaDelFrente());
    caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    if (!detalle.isEmpty()) {
        caja.setDetailedText(paraMostrar(detalle));
        traduceDetalles(caja);
    }
    caja.exec();
}

bool DialogosQt::pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) {
    QMessageBox caja(QMessageBox::Question, titulo, paraMostrar(texto),
                     QMessageBox::Yes | QMessageBox::No, ventanaDelFrente());
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    caja.setDefaultButton(noPorDefecto ? QMessageBox::No : QMessageBox::Yes);
    return caja.exec() == QMessageBox::Yes;
}

int DialogosQt::elige(const QString& texto, const QString& titulo, const QStringList& opciones,
                      int inicial) {
    bool elegida = false;
    const QString opcion = QInputDialog::getItem(ventanaDelFrente(), titulo, paraMostrar(texto),
                                                 opciones, inicial, false, &elegida);
    return elegida ? static_cast<int>(opciones.indexOf(opcion)) : -1;
}

void DialogosQt::ocupado(bool siNo) {
    const QCursor* cursor = QApplication::overrideCursor();
    const bool yaOcupado = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    if (siNo && !yaOcupado) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    while (!siNo && QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

QString DialogosQt::archivoParaGuardar(const QString& titulo, const QString& propuesto,
                                       const QString& filtros) {
    QString filtro;
    QString ruta =
        QFileDialog::getSaveFileName(ventanaDelFrente(), titulo, propuesto, filtros, &filtro);
    // A name typed without an ending takes that of the kind chosen ("… (*.csv)").
    const qsizetype asterisco = filtro.lastIndexOf(QLatin1String("(*."));
    if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty() && asterisco >= 0) {
        ruta += filtro.mid(asterisco + 2).chopped(1);
    }
    return ruta;
}
