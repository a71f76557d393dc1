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

// The cap window's period, series, cap and first folio, as a clerk types them.
void LlenaTope(QWidget& ventana, const char* desde, const char* hasta, const char* serie,
               const char* tope, const char* folio);
// The percentage window's first and last folio, series and percentage.
void LlenaPorcentaje(QWidget& ventana, const char* inicial, const char* final, const char* serie,
                     const char* porcentaje);
