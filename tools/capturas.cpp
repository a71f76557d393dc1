// Takes the manual's pictures of the program's windows on the store the configuration points
// at, following the manual's own steps: each window after its main button, a cap run as it
// prints, its three ends, and one note it printed; for the manual and for reviews.
//
//   capturas CARPETA   (with the environment scripts/demo sets up)

#include "arranque/Menu.h"
#include "arranque/Principal.h"
#include "impresion/MuestraDePlantilla.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "interfaz/DialogosQt.h"
#include "interfaz/TraduccionesQt.h"
#include "orvlib/BasesDD.h"
#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/MensajesDeQt.h"
#include "servicios/Proceso.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <sys/resource.h>

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

// «plantillas muestra … --ventana» of the templates' manual: the shipped template (the source
// tree's, beside the build folder) on the note A 3 of the store.
void guardaMuestra(const QString& carpeta) {
    QFile fuente(QDir(QCoreApplication::applicationDirPath())
                     .filePath(QStringLiteral("../templates/fmtRemision.rpt.fuente")));
    Conexion cnn;
    if (!fuente.open(QIODevice::ReadOnly) || !Proceso::actual().bases->AbrirBdD(cnn)) {
        std::fprintf(stderr, "sin la plantilla de las fuentes o sin la tienda: no hay muestra\n");
        return;
    }
    cuando([] { return qobject_cast<VistaPrevia*>(QApplication::activeModalWidget()) != nullptr; },
           [carpeta] {
               auto* vista = qobject_cast<VistaPrevia*>(QApplication::activeModalWidget());
               vista->resize(750, 800);
               vista->PonZoom(0.75);
               QApplication::processEvents();
               guarda(*vista, carpeta, QStringLiteral("plantilla-muestra-ventana.png"));
               vista->close();
           });
    try {
        MuestraDePlantilla(cnn).Muestra(QString::fromUtf8(fuente.readAll()), QStringLiteral("A"), 3,
                                        MuestraDePlantilla::Salida::Ventana);
    } catch (const ErrorOrvlib& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.descripcion()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

// The folder the runs print into: PDF files, never the printer.
QString carpetaDePdf() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("remisiones"));
}

// A run of the window with its real message boxes: Sí to the question, and the box at its end
// kept as nombre; durante, if given, acts once the run has printed a dozen notes.
void imprime(QWidget& ventana, const QString& carpeta, const QString& nombre,
             const std::function<void()>& durante = {}) {
    auto* barra = ventana.findChild<QProgressBar*>();
    if (durante) {
        cuando([barra] { return barra->isVisible() && barra->value() >= 13; }, durante);
    }
    auto* vigia = new QTimer;
    QObject::connect(vigia, &QTimer::timeout, [vigia, carpeta, nombre] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (caja == nullptr) {
            return;
        }
        if (QAbstractButton* si = caja->button(QMessageBox::Yes)) {
            si->click();
            return;
        }
        vigia->stop();
        vigia->deleteLater();
        guarda(*caja, carpeta, nombre);
        caja->button(QMessageBox::Ok)->click();
    });
    vigia->start(20);
    pulsa(ventana, "Command1");
}

// The printed note the manual shows: A 1505 of the run, its first page as pdftoppm draws it.
void guardaRemision(const QString& carpeta) {
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                    QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                    QStringLiteral("-l"), QStringLiteral("1"),
                    QDir(carpetaDePdf()).filePath(QStringLiteral("A-1505.pdf")),
                    QDir(carpeta).filePath(QStringLiteral("remision"))});
    if (!pdftoppm.waitForFinished(30000) || pdftoppm.exitCode() != 0) {
        std::fprintf(stderr, "pdftoppm no pudo dibujar A-1505.pdf (paquete poppler-utils)\n");
        return;
    }
    std::printf("%s\n", qPrintable(QDir(carpeta).filePath(QStringLiteral("remision.png"))));
}

// The three ends of a run and the window while it prints. A limit on the size of the files
// this process writes stands for a full disk: the first note's PDF does not fit.
void guardaCorridas(QWidget& ventana, const QString& carpeta) {
    // The program's own message boxes, not the console's.
    DialogosQt cajas;
    Dialogos::instala(&cajas);
    ControlDeReporte& control = modRPTs::actual().crpReport;
    QDir(carpetaDePdf()).removeRecursively();
    control.DirigeAPdf(carpetaDePdf());
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit antes{};
    ::getrlimit(RLIMIT_FSIZE, &antes);
    rlimit limite = antes;
    limite.rlim_cur = 50 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &limite);
    imprime(ventana, carpeta, QStringLiteral("fin-detenida.png"));
    ::setrlimit(RLIMIT_FSIZE, &antes);
    imprime(ventana, carpeta, QStringLiteral("fin-cancelada.png"),
            [&ventana] { ventana.findChild<QPushButton*>(QStringLiteral("Command3"))->click(); });
    imprime(ventana, carpeta, QStringLiteral("fin-impresas.png"),
            [&ventana, carpeta] { guarda(ventana, carpeta, QStringLiteral("imprimiendo.png")); });
    control.DirigeAPdf(QString());
    guardaRemision(carpeta);
    QDir(carpetaDePdf()).removeRecursively();
    Dialogos::instala(nullptr);
}

// The window shown and in front, as the menu leaves it.
void abre(QWidget& ventana) {
    ventana.show();
    ventana.activateWindow();
    QApplication::processEvents();
}

// The cap window with the manual's example (a cap of 60,000.00 on the first half of November),
// its preview, its offer to go on and its runs.
void guardaTope(const QString& carpeta) {
    frmRemisTyP tope;
    abre(tope);
    escribe(tope, "mkeFecha_0", QStringLiteral("01/11/2026"));
    escribe(tope, "mkeFecha_1", QStringLiteral("15/11/2026"));
    escribe(tope, "txtDato_4", QStringLiteral("A"));
    escribe(tope, "txtDato_2", QStringLiteral("60,000.00"));
    escribe(tope, "txtDato_3", QStringLiteral("1,500"));
    pulsa(tope, "cmdAplicar");
    QApplication::processEvents();
    guarda(tope, carpeta, QStringLiteral("tope.png"));
    guardaVistaPrevia(tope, carpeta);
    guardaContinuacion(tope, carpeta);
    guardaCorridas(tope, carpeta);
}

void guardaPorcentaje(const QString& carpeta) {
    frmRemisPorcen porcentaje;
    abre(porcentaje);
    escribe(porcentaje, "txtDato_0", QStringLiteral("100"));
    escribe(porcentaje, "txtDato_1", QStringLiteral("160"));
    escribe(porcentaje, "txtDato_4", QStringLiteral("A"));
    escribe(porcentaje, "txtDato_2", QStringLiteral("15.00"));
    pulsa(porcentaje, "Command2");
    QApplication::processEvents();
    guarda(porcentaje, carpeta, QStringLiteral("porcentaje.png"));
}

// The clients and series stay as the window fills them from the settings.
void guardaFactura(const QString& carpeta) {
    frmReproceso factura;
    abre(factura);
    escribe(factura, "mkeFecha_0", QStringLiteral("01/11/2026"));
    escribe(factura, "mkeFecha_1", QStringLiteral("15/11/2026"));
    escribe(factura, "txtDato_3", QStringLiteral("10.00"));
    pulsa(factura, "cmdAplicar");
    QApplication::processEvents();
    guarda(factura, carpeta, QStringLiteral("factura.png"));
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
    // Qt's own texts as the program shows them.
    TraduccionesQt::Instala();

    Menu menu;
    abre(menu);
    guarda(menu, carpeta, QStringLiteral("menu.png"));
    guardaTope(carpeta);
    guardaPorcentaje(carpeta);
    guardaMuestra(carpeta);
    guardaFactura(carpeta);
    return 0;
}
