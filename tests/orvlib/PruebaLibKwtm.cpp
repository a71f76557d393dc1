#include "orvlib/libKwtm.h"

#include <QLineEdit>
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

} // namespace
