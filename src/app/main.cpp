#include "orvlib/ErrorOrvlib.h"
#include "startup/Principal.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("deremisiones"));
    QApplication::setApplicationVersion(QStringLiteral(DEREMISIONES_VERSION));
    if (QApplication::arguments().contains(QStringLiteral("--version"))) {
        std::printf("deremisiones %s\n", DEREMISIONES_VERSION);
        return 0;
    }
    try {
        return Principal::Main();
    } catch (const ErrorOrvlib& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.texto()));
        return 1;
    }
}
