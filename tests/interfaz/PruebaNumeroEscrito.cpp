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

// What a number field takes of a pasted text, and what it says of one it cannot read.
TEST(NumeroEscrito, LasCifrasQueTomaUnCampoYElAvisoQueDaSuRegla) {
    const struct {
        const char* texto;
        const char* cifras; // nullptr when refused
        const char* aviso;  // of a refused text
    } casos[] = {
        {"$1,234.50 pesos", "1234.50", ""},
        {"12.5 %", "12.5", ""},
        {"-12.5 %", "-12.5", ""},
        {"Folio 1,500", "1500", ""},
        {"0,5", nullptr, "«0,5» no es un número: use punto decimal (0.5)."},
        {",75", nullptr, "«,75» no es un número: use punto decimal (0.75)."},
        {"dos mil", nullptr,
         "«dos mil» no es un número: escriba sólo cifras, con punto decimal "
         "(12.5)."},
    };
    for (const auto& c : casos) {
        const std::optional<QString> cifras = NumeroEscrito::Cifras(QString::fromUtf8(c.texto));
        ASSERT_EQ(cifras.has_value(), c.cifras != nullptr) << c.texto;
        if (cifras) {
            EXPECT_EQ(*cifras, QString::fromUtf8(c.cifras));
        } else {
            EXPECT_EQ(NumeroEscrito::AvisoDeNumero(QString::fromUtf8(c.texto)),
                      QString::fromUtf8(c.aviso));
        }
    }
    // Each job's percentage rule, at its edges.
    EXPECT_EQ(NumeroEscrito::AvisoDePorcentajeMenos(QStringLiteral("99.99")), QString());
    EXPECT_EQ(NumeroEscrito::AvisoDePorcentajeMenos(QStringLiteral("0")), QString());
    EXPECT_EQ(NumeroEscrito::AvisoDePorcentajeMenos(QStringLiteral("100")),
              QStringLiteral("El porcentaje debe ser menor que 100."));
    EXPECT_EQ(NumeroEscrito::AvisoDePorcentajeAReducir(QStringLiteral("0")), QString());
    EXPECT_EQ(NumeroEscrito::AvisoDePorcentajeAReducir(QStringLiteral("-0.5")),
              QStringLiteral("El porcentaje no puede ser negativo: escriba uno de 0 a menos de "
                             "100."));
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
