#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The engine's preview, as the program's menu installs it.
    VistaPrevia::Instala();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
