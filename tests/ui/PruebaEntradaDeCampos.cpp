#include "support/Espera.h"
#include "ui/EntradaDeCampos.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(EntradaDeCampos, EnterFiltraYAvanza) {
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
        EntradaDeCampos::Enter(caracter, QString::fromLatin1(c.tipo), nullptr);
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
    EntradaDeCampos::Enter(enter, QStringLiteral("9"), uno);
    EXPECT_EQ(enter, 0);
    EXPECT_TRUE(dos->hasFocus());
    int abajo = Qt::Key_Down;
    EntradaDeCampos::Teclas(abajo, dos);
    EXPECT_EQ(abajo, 0);
    EXPECT_TRUE(tres->hasFocus());
    int arriba = Qt::Key_Up;
    EntradaDeCampos::Teclas(arriba, tres);
    EXPECT_TRUE(dos->hasFocus());
}

} // namespace
