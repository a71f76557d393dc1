#include "OrdenDeConsola.h"
#include "orvlib/ErrorOrvlib.h"
#include "startup/Principal.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Command-line jobs need no display; the windows do.
    const bool consola = argc > 1 && argv[1][0] != '-';
    if (consola && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("deremisiones"));
    QApplication::setApplicationVersion(QStringLiteral(DEREMISIONES_VERSION));
    if (QApplication::arguments().contains(QStringLiteral("--version"))) {
        std::printf("deremisiones %s\n", DEREMISIONES_VERSION);
        return 0;
    }
    if (consola) {
        const int codigo = OrdenDeConsola::Ejecuta(QApplication::arguments());
        if (codigo >= 0) {
            return codigo;
        }
        std::fprintf(stderr, "Orden desconocida: %s (use tope, porcentaje o factura)\n", argv[1]);
        return 2;
    }
    try {
        return Principal::Main();
    } catch (const ErrorOrvlib& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.texto()));
        return 1;
    }
}
