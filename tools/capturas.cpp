// Takes pictures of the program's windows on the store the configuration points at, as a user
// would see them after pressing each window's main button; for the manual and for reviews.
//
//   capturas CARPETA   (with the environment scripts/demo sets up)

#include "arranque/Menu.h"
#include "arranque/Principal.h"
#include "servicios/MensajesDeQt.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

void guarda(QWidget& ventana, const QString& carpeta, const QString& nombre) {
    ventana.grab().save(QDir(carpeta).filePath(nombre));
    std::printf("%s\n", qPrintable(QDir(carpeta).filePath(nombre)));
}

void escribe(QWidget& ventana, const char* control, const QString& texto) {
    ventana.findChild<QLineEdit*>(QString::fromLatin1(control))->setText(texto);
}

void pulsa(QWidget& ventana, const char* boton) {
    ventana.findChild<QPushButton*>(QString::fromLatin1(boton))->click();
}

} // namespace

int main(int argc, char* argv[]) {
    MensajesDeQt::Instala();
    QApplication app(argc, argv);
    // The start makes the program folder current: the folder given is taken before it.
    const QString carpeta =
        argc < 2 ? QString() : QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (argc < 2 || !Principal::Configura()) {
        std::fprintf(stderr, "uso: capturas CARPETA (con la configuración de scripts/demo)\n");
        return 2;
    }
    QDir().mkpath(carpeta);

    Menu menu;
    menu.show();
    menu.activateWindow();
    QApplication::processEvents();
    guarda(menu, carpeta, QStringLiteral("menu.png"));

    frmRemisTyP tope;
    tope.show();
    tope.activateWindow();
    QApplication::processEvents();
    escribe(tope, "mkeFecha_0", QStringLiteral("01/11/2026"));
    escribe(tope, "mkeFecha_1", QStringLiteral("30/11/2026"));
    escribe(tope, "txtDato_4", QStringLiteral("A"));
    escribe(tope, "txtDato_2", QStringLiteral("150,000.00"));
    escribe(tope, "txtDato_3", QStringLiteral("1,500"));
    pulsa(tope, "cmdAplicar");
    QApplication::processEvents();
    guarda(tope, carpeta, QStringLiteral("tope.png"));
    tope.close();

    frmRemisPorcen porcentaje;
    porcentaje.show();
    porcentaje.activateWindow();
    QApplication::processEvents();
    escribe(porcentaje, "txtDato_0", QStringLiteral("100"));
    escribe(porcentaje, "txtDato_1", QStringLiteral("160"));
    escribe(porcentaje, "txtDato_4", QStringLiteral("A"));
    escribe(porcentaje, "txtDato_2", QStringLiteral("15.00"));
    pulsa(porcentaje, "Command2");
    QApplication::processEvents();
    guarda(porcentaje, carpeta, QStringLiteral("porcentaje.png"));
    porcentaje.close();

    frmReproceso factura;
    factura.show();
    factura.activateWindow();
    QApplication::processEvents();
    escribe(factura, "mkeFecha_0", QStringLiteral("01/11/2026"));
    escribe(factura, "mkeFecha_1", QStringLiteral("15/11/2026"));
    escribe(factura, "txtDato_4", QString());
    escribe(factura, "txtDato_3", QStringLiteral("10.00"));
    pulsa(factura, "cmdAplicar");
    QApplication::processEvents();
    guarda(factura, carpeta, QStringLiteral("factura.png"));
    factura.close();
    return 0;
}
