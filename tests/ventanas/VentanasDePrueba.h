#pragma once

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "interfaz/DialogosGuionados.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The three job windows on a store with series, two clients, an invoice counter and notes of
// today and of two days in November (folios 501 to 503).
class VentanasDePrueba : public TiendaConResguardo {
public:
    static void escribe(QWidget& ventana, const char* caja, const QString& texto) {
        Control<QLineEdit>(ventana, caja)->setText(texto);
    }
    static void pulsa(QWidget& ventana, const char* boton) {
        QTest::mouseClick(Control<QPushButton>(ventana, boton), Qt::LeftButton);
    }
    // Gives the field the focus and presses a key in it, letting the events it sets off run.
    static void teclaEn(QWidget* control, int tecla,
                        Qt::KeyboardModifiers modificadores = Qt::NoModifier) {
        QTest::keyClick(control, static_cast<Qt::Key>(tecla), modificadores);
        QTest::qWait(20);
    }
    static QString aviso(QWidget& ventana) { return Control<QLabel>(ventana, "lblAviso")->text(); }

protected:
    void SetUp() override {
        TiendaConResguardo::SetUp();
        base.ejecuta(QStringLiteral("INSERT INTO configura (SeriesEnRem) VALUES (1)"));
        base.ejecuta(QStringLiteral("INSERT INTO clientes (Clave, Nombre, MetodoDePago) VALUES "
                                    "('CLIENTE', 'PÚBLICO EN GENERAL', '01 - Efectivo')"));
        base.ejecuta(QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '7')"));
        AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 501},
                           {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 502},
                           {3, QDate(2026, 11, 3), 300, 48, 0, QStringLiteral("A"), 503},
                           {4, QDate::currentDate(), 200, 32, 0, QStringLiteral("A"), 504}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Cliente='CLIENTE'"));
    }

    void TearDown() override {
        base.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS tmpreprocesarem"));
    }
};
