#include "OrdenDeConsola.h"
#include "arranque/Principal.h"
#include "impresion/modRPTs.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/MensajesDeQt.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

const char* kParaUnaPantalla =
    "El menú de deremisiones necesita una: ábralo desde el escritorio, o por ssh con «ssh -X». "
    "Los trabajos corren sin ventanas como órdenes: vea «deremisiones --help».";

} // namespace

int main(int argc, char* argv[]) {
    MensajesDeQt::Instala(QString::fromUtf8(kParaUnaPantalla));
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("deremisiones %s\n", DEREMISIONES_VERSION);
            return 0;
        }
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("%s\n", OrdenDeConsola::AyudaGeneral().toUtf8().constData());
        return 0;
    }
    // Command-line jobs need no display; the windows do.
    const bool consola = argc > 1 && argv[1][0] != '-';
    if (consola && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The windows need a graphical session; without one, Qt would only say so in English.
    if (!consola && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(
            stderr, "%s\n",
            qUtf8Printable(MensajesDeQt::SinPantalla(QString::fromUtf8(kParaUnaPantalla))));
        return MensajesDeQt::kSinPantalla;
    }
    Principal::AseguraCarpetaDeEjecucion();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("deremisiones"));
    QApplication::setApplicationVersion(QStringLiteral(DEREMISIONES_VERSION));
    // On a machine without printers (a demo, a test bench) printed documents can go to PDF files.
    const QString carpetaPdf = qEnvironmentVariable("DEREMISIONES_PDF");
    if (!carpetaPdf.isEmpty()) {
        modRPTs::actual().crpReport.DirigeAPdf(carpetaPdf);
    }
    if (consola) {
        const int codigo = OrdenDeConsola::Ejecuta(QApplication::arguments());
        if (codigo >= 0) {
            return codigo;
        }
        std::fprintf(stderr, "Orden desconocida: %s\n\n%s\n", argv[1],
                     OrdenDeConsola::AyudaGeneral().toUtf8().constData());
        return 2;
    }
    try {
        return Principal::Main();
    } catch (const ErrorOrvlib& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.texto()));
        return 1;
    }
}
