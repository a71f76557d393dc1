// Takes pictures of the program's windows on the store the configuration points at, as a user
// would see them after pressing each window's main button; for the manual and for reviews.
//
//   capturas CARPETA   (with the environment scripts/demo sets up)

#include "arranque/Menu.h"
#include "arranque/Principal.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "servicios/MensajesDeQt.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

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

// Calls hecho once condicion holds, looking while the window works.
void cuando(const std::function<bool()>& condicion, const std::function<void()>& hecho) {
    auto* vigia = new QTimer;
    QObject::connect(vigia, &QTimer::timeout, [vigia, condicion, hecho] {
        if (condicion()) {
            vigia->deleteLater();
            vigia->stop();
            hecho();
        }
    });
    vigia->start(20);
}

// "Vista previa" of the window, on its second note at a zoom that shows the whole sheet.
void guardaVistaPrevia(QWidget& ventana, const QString& carpeta) {
    cuando([] { return qobject_cast<VistaPrevia*>(QApplication::activeModalWidget()) != nullptr; },
           [carpeta] {
               auto* vista = qobject_cast<VistaPrevia*>(QApplication::activeModalWidget());
               vista->resize(860, 900);
               vista->PonZoom(0.75);
               vista->IrA(1, 0);
               QApplication::processEvents();
               guarda(*vista, carpeta, QStringLiteral("vista-previa.png"));
               vista->close();
           });
    pulsa(ventana, "cmdVistaPrevia");
}

// A run into PDF files (never the printer) cancelled at its first note, and the window's offer
// to go on from the second.
void guardaContinuacion(QWidget& ventana, const QString& carpeta) {
    QTemporaryDir pdf;
    ControlDeReporte& control = modRPTs::actual().crpReport;
    control.DirigeAPdf(pdf.path());
    DialogosGuionados dialogos;
    dialogos.responde(true);
    auto* cancelar = ventana.findChild<QPushButton*>(QStringLiteral("Command3"));
    cuando([cancelar] { return cancelar->isEnabled(); }, [cancelar] { cancelar->click(); });
    pulsa(ventana, "Command1");
    QApplication::processEvents();
    guarda(ventana, carpeta, QStringLiteral("tope-continuar.png"));
    control.DirigeAPdf(QString());
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
    guardaVistaPrevia(tope, carpeta);
    guardaContinuacion(tope, carpeta);
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
