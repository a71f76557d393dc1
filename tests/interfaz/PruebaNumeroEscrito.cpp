#include "interfaz/NumeroEscrito.h"
#include "interfaz/TraduccionesQt.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(NumeroEscrito, LeeLoQueSeQuisoEscribirORehusa) {
    const struct {
        const char* texto;
        bool leido;
        double valor;
    } casos[] = {
        {"", true, 0},
        {"   ", true, 0},
        {"1500", true, 1500},
        {"1,234.50", true, 1234.5},
        {"$ 1,234.50", true, 1234.5},
        {"ABC $1,234.50 peso", true, 1234.5},
        {"12.5", true, 12.5},
        {".5", true, 0.5},
        {"-5", true, -5},
        {"99,999,999,999.00", true, 99999999999.0},
        // A comma that does not group thousands is not a decimal mark.
        {"0,5", false, 0},
        {"1,5", false, 0},
        {"1,50", false, 0},
        {"1,2345", false, 0},
        {"12abc34", false, 0},
        {"1.2.3", false, 0},
        {"abc", false, 0},
        {"5 - 3", false, 0},
    };
    for (const auto& c : casos) {
        const std::optional<double> valor = NumeroEscrito::Lee(QString::fromUtf8(c.texto));
        ASSERT_EQ(valor.has_value(), c.leido) << c.texto;
        if (c.leido) {
            EXPECT_DOUBLE_EQ(*valor, c.valor) << c.texto;
        }
    }
}

TEST(TraduccionesQt, ElMenuDeUnCampoEstaEnEspanol) {
    ASSERT_TRUE(TraduccionesQt::Instala());
    QLineEdit caja(QStringLiteral("texto"));
    caja.selectAll();
    const std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
    QStringList textos;
    for (const QAction* accion : menu->actions()) {
        if (!accion->isSeparator()) {
            textos << accion->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
        }
    }
    EXPECT_EQ(textos, QStringList({QStringLiteral("Deshacer"), QStringLiteral("Rehacer"),
                                   QStringLiteral("Cortar"), QStringLiteral("Copiar"),
                                   QStringLiteral("Pegar"), QStringLiteral("Borrar"),
                                   QStringLiteral("Seleccionar todo")}))
        << qPrintable(textos.join(QLatin1Char('|')));
}

} // namespace
