#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

class BaseDePrueba;
class CarpetaDePrueba;

// The program as a store runs it, for window and command-line tests: the program's ini names a
// registered host folder and the test database.
void ConfiguraPrograma(CarpetaDePrueba& carpeta, BaseDePrueba& base);
// A database beside the test one with the host's two note tables, as an archive database has.
QString CreaResguardo(BaseDePrueba& base);

// A control of a window by its object name; a missing one fails the test.
template <typename T> T* Control(QWidget& ventana, const char* nombre) {
    auto* c = ventana.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
}
