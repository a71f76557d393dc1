#include "apoyo/Espera.h"
#include "interfaz/EntradaDeCampos.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
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

namespace {

// Pastes the clipboard into the box through its context menu, as a clerk does with the mouse.
void pegaConElMenu(QLineEdit* caja) {
    QTimer::singleShot(50, caja, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* accion : menu->actions()) {
            if (accion->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) ==
                QCoreApplication::translate("QLineEdit", "&Paste").remove(QLatin1Char('&'))) {
                accion->trigger();
            }
        }
        menu->close();
    });
    QContextMenuEvent evento(QContextMenuEvent::Keyboard, caja->rect().center(),
                             caja->mapToGlobal(caja->rect().center()));
    QApplication::sendEvent(caja, &evento);
}

// A date pasted as 2026-11-01 (with the keys or the menu) is read as that date, not forced
// through the box's mask; one that cannot be read is refused quoting what was pasted; a text
// longer than the box takes is refused whole.
TEST(EntradaDeCampos, LoPegadoSeLeeORehusaSinCortarseNiDeformarse) {
    QWidget ventana;
    auto* fecha = new QLineEdit(&ventana);
    auto* serie = new QLineEdit(&ventana);
    auto* aviso = new QLabel(&ventana);
    auto* capa = new QVBoxLayout(&ventana);
    for (QWidget* w : std::initializer_list<QWidget*>{fecha, serie, aviso}) {
        capa->addWidget(w);
    }
    EntradaDeCampos::ConectaFecha(fecha, QStringLiteral("!"),
                                  EntradaDeCampos::FechaInvalida::Rechaza, aviso);
    serie->setMaxLength(3);
    EntradaDeCampos::Conecta(serie, QStringLiteral("!"), {}, aviso);
    ASSERT_TRUE(ActivaVentana(&ventana));

    QApplication::clipboard()->setText(QStringLiteral("2026-11-01"));
    pegaConElMenu(fecha);
    EXPECT_EQ(fecha->text(), QStringLiteral("01/11/2026"));
    QApplication::clipboard()->setText(QStringLiteral(" 2/3/2026 "));
    fecha->setFocus();
    QTest::keyClick(fecha, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(fecha->text(), QStringLiteral("02/03/2026"));
    QApplication::clipboard()->setText(QStringLiteral("2026-13-01"));
    pegaConElMenu(fecha);
    EXPECT_EQ(fecha->text(), QStringLiteral("02/03/2026"));
    EXPECT_TRUE(
        aviso->text().startsWith(QStringLiteral("No se puede leer «2026-13-01» como fecha")))
        << qPrintable(aviso->text());

    // One character over the box's length is refused whole; exactly its length goes in
    // without a word.
    QApplication::clipboard()->setText(QStringLiteral("ABCD"));
    pegaConElMenu(serie);
    EXPECT_TRUE(serie->text().isEmpty());
    EXPECT_EQ(aviso->text(),
              QStringLiteral("Este campo admite a lo más 3 caracteres; lo pegado tiene 4."));
    aviso->clear();
    QApplication::clipboard()->setText(QStringLiteral("ABC"));
    pegaConElMenu(serie);
    EXPECT_EQ(serie->text(), QStringLiteral("ABC"));
    EXPECT_TRUE(aviso->text().isEmpty()) << qPrintable(aviso->text());
}

} // namespace
