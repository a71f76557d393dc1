#include "orvlib/libKwtm.h"
#include "support/Espera.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(libKwtm, kwVal) {
    const struct {
        const char* texto;
        double valor;
    } casos[] = {
        {"1,234.50", 1234.5},
        {"  5000 ", 5000},
        {"-12.5", -12.5},
        {"$ 1,000,000.25", 1000000.25},
        {"", 0},
        {"abc", 0},
        {"12abc", 0},
        {"0.00", 0},
    };
    for (const auto& c : casos) {
        EXPECT_DOUBLE_EQ(libKwtm::kwVal(QString::fromUtf8(c.texto)), c.valor) << c.texto;
    }
}

TEST(libKwtm, Fechas) {
    EXPECT_EQ(libKwtm::FechaSQL(QDate(2009, 6, 1)), QStringLiteral("2009-06-01"));
    EXPECT_EQ(libKwtm::FechaSQL(libKwtm::LeeFecha(QStringLiteral("30/06/2009"))),
              QStringLiteral("2009-06-30"));
    EXPECT_FALSE(libKwtm::LeeFecha(QStringLiteral("31/02/2009")).isValid());
    EXPECT_FALSE(libKwtm::LeeFecha(libKwtm::FechaVacia()).isValid());
    EXPECT_EQ(libKwtm::TextoDeFecha(QDate(2026, 12, 6)), QStringLiteral("06/12/2026"));

    QLineEdit caja;
    caja.setInputMask(libKwtm::MascaraFecha());
    EXPECT_EQ(caja.displayText(), libKwtm::FechaVacia());
    caja.setText(QStringLiteral("01/06/2009"));
    EXPECT_EQ(libKwtm::LeeFecha(caja.text()), QDate(2009, 6, 1));
}

TEST(libKwtm, Pad) {
    EXPECT_EQ(libKwtm::Pad(QStringLiteral("4711"), 9, QStringLiteral("0"), 2),
              QStringLiteral("000004711"));
    EXPECT_EQ(libKwtm::Pad(QStringLiteral("C001"), 15, QStringLiteral(" "), 0),
              QStringLiteral("C001           "));
    EXPECT_EQ(libKwtm::Pad(QStringLiteral("ab"), 6, QStringLiteral("*"), 1),
              QStringLiteral("**ab**"));
    EXPECT_EQ(libKwtm::Pad(QStringLiteral("1234567890"), 9, QStringLiteral("0"), 2),
              QStringLiteral("1234567890"));
}

TEST(libKwtm, EnterFiltraYAvanza) {
    const struct {
        int caracter;
        const char* tipo;
        int queda;
    } casos[] = {
        {'7', "9", '7'}, {'.', "9", '.'}, {',', "9", ','}, {'-', "9", '-'},   {'a', "9", 0},
        {' ', "9", 0},   {8, "9", 8},     {'a', "!", 'a'}, {'\'', "!", '\''},
    };
    for (const auto& c : casos) {
        int caracter = c.caracter;
        libKwtm::Enter(caracter, QString::fromLatin1(c.tipo), nullptr);
        EXPECT_EQ(caracter, c.queda) << c.caracter << " " << c.tipo;
    }

    QWidget ventana;
    auto* uno = new QLineEdit(&ventana);
    auto* dos = new QLineEdit(&ventana);
    auto* tres = new QLineEdit(&ventana);
    auto* capa = new QVBoxLayout(&ventana);
    for (QLineEdit* c : {uno, dos, tres}) {
        capa->addWidget(c);
    }
    ASSERT_TRUE(ActivaVentana(&ventana));
    uno->setFocus();
    int enter = '\r';
    libKwtm::Enter(enter, QStringLiteral("9"), uno);
    EXPECT_EQ(enter, 0);
    EXPECT_TRUE(dos->hasFocus());
    int abajo = Qt::Key_Down;
    libKwtm::Teclas(abajo, dos);
    EXPECT_EQ(abajo, 0);
    EXPECT_TRUE(tres->hasFocus());
    int arriba = Qt::Key_Up;
    libKwtm::Teclas(arriba, tres);
    EXPECT_TRUE(dos->hasFocus());
}

} // namespace
