#include "ventanas/VentanasDePrueba.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"

#include <QMap>
#include <QSet>
#include <QTableWidget>

namespace {

// The controls a clerk works: visible, enabled and reached with Tab.
QSet<QWidget*> controlesDeTrabajo(QWidget& ventana) {
    QSet<QWidget*> controles;
    for (QWidget* w : ventana.findChildren<QWidget*>()) {
        const bool deTrabajo = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QAbstractItemView*>(w);
        if (deTrabajo && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            controles.insert(w);
        }
    }
    return controles;
}

// Every control the focus goes through with the key alone, from the first one, until it comes
// back to it.
QSet<QWidget*> recorreCon(QWidget* primero, Qt::Key tecla) {
    primero->setFocus(Qt::OtherFocusReason);
    QTest::qWait(20);
    QSet<QWidget*> alcanzados;
    for (int i = 0; i < 40; ++i) {
        QWidget* foco = QApplication::focusWidget();
        if (foco == nullptr || (i > 0 && foco == primero)) {
            break;
        }
        alcanzados.insert(foco);
        // Only the field the cursor is in shows a selection.
        for (const QLineEdit* c : foco->window()->findChildren<QLineEdit*>()) {
            EXPECT_TRUE(c == foco || !c->hasSelectedText()) << qPrintable(c->objectName());
        }
        VentanasDePrueba::teclaEn(foco, tecla);
    }
    return alcanzados;
}

QStringList nombres(const QSet<QWidget*>& controles) {
    QStringList n;
    for (const QWidget* w : controles) {
        n << w->objectName();
    }
    n.sort();
    return n;
}

void llegaATodosConTab(QWidget& ventana, const char* primero) {
    QWidget* inicio = Control<QWidget>(ventana, primero);
    const QSet<QWidget*> todos = controlesDeTrabajo(ventana);
    EXPECT_EQ(nombres(recorreCon(inicio, Qt::Key_Tab)), nombres(todos));
    EXPECT_EQ(nombres(recorreCon(inicio, Qt::Key_Backtab)), nombres(todos));
}

// The letter after each "&" of the window's labels and buttons, with the texts that use it.
QMap<QChar, QStringList> mnemonicos(QWidget& ventana) {
    QMap<QChar, QStringList> letras;
    const auto anota = [&letras](const QString& texto) {
        const qsizetype i = texto.indexOf(QLatin1Char('&'));
        if (i >= 0 && i + 1 < texto.size() && texto[i + 1] != QLatin1Char('&')) {
            letras[texto[i + 1].toLower()] << texto;
        }
    };
    for (const QLabel* l : ventana.findChildren<QLabel*>()) {
        anota(l->text());
    }
    for (const QAbstractButton* b : ventana.findChildren<QAbstractButton*>()) {
        anota(b->text());
    }
    return letras;
}

// Each letter opens one control; every button has one, and every field a label that has one.
void mnemonicosUnicos(QWidget& ventana) {
    const QMap<QChar, QStringList> letras = mnemonicos(ventana);
    for (auto l = letras.begin(); l != letras.end(); ++l) {
        EXPECT_EQ(l.value().size(), 1) << qPrintable(l.value().join(QStringLiteral(" | ")));
    }
    for (const QPushButton* b : ventana.findChildren<QPushButton*>()) {
        EXPECT_TRUE(b->text().contains(QLatin1Char('&'))) << qPrintable(b->text());
    }
    QSet<const QWidget*> conEtiqueta;
    for (const QLabel* l : ventana.findChildren<QLabel*>()) {
        if (l->buddy() != nullptr && l->text().contains(QLatin1Char('&'))) {
            conEtiqueta.insert(l->buddy());
        }
    }
    for (const QLineEdit* c : ventana.findChildren<QLineEdit*>()) {
        EXPECT_TRUE(conEtiqueta.contains(c)) << qPrintable(c->objectName());
    }
}

using TecladoDeVentanas = VentanasDePrueba;

TEST_F(TecladoDeVentanas, TopeSeRecorreConTabYSusLetrasSonUnicas) {
    frmRemisTyP ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    // With no cap typed yet (0.00) both walks reach "Aplicar" and every field.
    ASSERT_EQ(Control<QLineEdit>(ventana, "txtDato_2")->text(), QStringLiteral("0.00"));
    llegaATodosConTab(ventana, "mkeFecha_0");
    // A field that refuses what it holds keeps Tab, never Shift+Tab: the line says why.
    escribe(ventana, "txtDato_2", QStringLiteral("1,5"));
    QWidget* tope = Control<QWidget>(ventana, "txtDato_2");
    tope->setFocus();
    teclaEn(tope, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tope);
    teclaEn(tope, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(ventana, "txtDato_4"));
    EXPECT_TRUE(aviso(ventana).startsWith(QStringLiteral("«1,5» no es un número")));
    LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "1,000.00", "1,500");
    llegaATodosConTab(ventana, "mkeFecha_0");
    mnemonicosUnicos(ventana);

    pulsa(ventana, "cmdAplicar");
    auto* reja = Control<QTableWidget>(ventana, "mfgReja");
    ASSERT_TRUE(reja->hasFocus());
    // The grid is left with Tab and Shift+Tab, not kept by its cells.
    teclaEn(reja, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(ventana, "Command1"));
    reja->setFocus();
    teclaEn(reja, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(ventana, "cmdAplicar"));
    llegaATodosConTab(ventana, "mkeFecha_0");
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isDefault());
    // Alt and a label's letter take the focus back to its field.
    teclaEn(reja, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(ventana, "txtDato_2"));
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    // A period without notes leaves nothing to print: "Aplicar" is the default again.
    escribe(ventana, "mkeFecha_0", QStringLiteral("01/01/2020"));
    escribe(ventana, "mkeFecha_1", QStringLiteral("02/01/2020"));
    pulsa(ventana, "cmdAplicar");
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdAplicar")->isDefault());
    EXPECT_EQ(dialogos.cajas().size(), 1);
}

TEST_F(TecladoDeVentanas, PorcentajeSeRecorreConTabYSusLetrasSonUnicas) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "501", "503", "A", "15.00");
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command2")->isDefault());
    llegaATodosConTab(ventana, "txtDato_0");
    pulsa(ventana, "Command2");
    ASSERT_TRUE(Control<QPushButton>(ventana, "Command1")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(ventana, "Command1")->isDefault());
    llegaATodosConTab(ventana, "txtDato_0");
    mnemonicosUnicos(ventana);
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(TecladoDeVentanas, FacturaSeRecorreConTabYSusLetrasSonUnicas) {
    frmReproceso ventana;
    ASSERT_TRUE(ventana.Cargada());
    ASSERT_TRUE(ActivaVentana(&ventana));
    escribe(ventana, "txtDato_3", QStringLiteral("10.00"));
    llegaATodosConTab(ventana, "txtDato_0");
    pulsa(ventana, "cmdAplicar");
    ASSERT_TRUE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(ventana, "cmdGenerar")->isDefault());
    llegaATodosConTab(ventana, "txtDato_0");
    mnemonicosUnicos(ventana);
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

} // namespace
