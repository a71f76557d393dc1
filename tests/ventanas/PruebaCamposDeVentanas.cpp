#include "ventanas/VentanasDePrueba.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"

#include <QClipboard>

namespace {

using CamposDeVentanas = VentanasDePrueba;

// Leaves the field with Tab: true when the focus left it.
bool salDe(QWidget& ventana, const char* caja) {
    QLineEdit* campo = Control<QLineEdit>(ventana, caja);
    campo->setFocus();
    QTest::qWait(20);
    VentanasDePrueba::teclaEn(campo, Qt::Key_Tab);
    return !campo->hasFocus();
}

void pega(QWidget& ventana, const char* caja, const QString& texto) {
    QApplication::clipboard()->setText(texto);
    QLineEdit* campo = Control<QLineEdit>(ventana, caja);
    campo->setFocus();
    campo->selectAll();
    VentanasDePrueba::teclaEn(campo, Qt::Key_V, Qt::ControlModifier);
}

// A value a field cannot take is refused as it is left: the text stays as typed, the focus
// stays, and the window's warning line says what is allowed.
struct Rehusado {
    const char* caja;
    const char* texto;
    const char* aviso; // the start of the warning
};

template <typename Ventana> void rehusa(VentanasDePrueba& prueba, const Rehusado& r) {
    Ventana ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    VentanasDePrueba::escribe(ventana, r.caja, QString::fromUtf8(r.texto));
    EXPECT_FALSE(salDe(ventana, r.caja)) << r.caja << " " << r.texto;
    EXPECT_EQ(Control<QLineEdit>(ventana, r.caja)->text(), QString::fromUtf8(r.texto));
    EXPECT_TRUE(VentanasDePrueba::aviso(ventana).startsWith(QString::fromUtf8(r.aviso)))
        << qPrintable(VentanasDePrueba::aviso(ventana));
    // Escape still closes the window with the field refusing.
    QTest::keyClick(Control<QLineEdit>(ventana, r.caja), Qt::Key_Escape);
    EXPECT_TRUE(EsperaHasta([&ventana] { return !ventana.isVisible(); })) << r.texto;
    (void)prueba;
}

TEST_F(CamposDeVentanas, LoQueUnCampoNoAdmiteSeRehusaAlSalirYDiceQueAdmite) {
    const Rehusado tope[] = {
        {"txtDato_2", "-5", "El tope debe ser mayor que 0"},
        {"txtDato_2", "1,5", "«1,5» no es un número: use punto decimal (1.5)."},
        {"txtDato_3", "12.5", "El folio a imprimir debe ser un número entero de 1 a 2,147,483,647"},
        {"txtDato_3", "3000000000",
         "El folio a imprimir debe ser un número entero de 1 a 2,147,483,647"},
        {"txtDato_3", "1,5", "«1,5» no es un número: use punto decimal (1.5)."},
    };
    for (const Rehusado& r : tope) {
        rehusa<frmRemisTyP>(*this, r);
    }
    const Rehusado porcentaje[] = {
        {"txtDato_2", "0,5", "«0,5» no es un número: use punto decimal (0.5)."},
        {"txtDato_2", "100", "El porcentaje debe ser menor que 100."},
        {"txtDato_2", "150", "El porcentaje debe ser menor que 100."},
        {"txtDato_2", "-3", "El porcentaje debe ser mayor que 0 y menor que 100."},
        {"txtDato_2", "doce", "«doce» no es un número: escriba sólo cifras"},
        {"txtDato_0", "1,5", "«1,5» no es un número: use punto decimal (1.5)."},
        {"txtDato_0", "12.5", "Los folios de las remisiones son números enteros de 1 a"},
    };
    for (const Rehusado& r : porcentaje) {
        rehusa<frmRemisPorcen>(*this, r);
    }
    const Rehusado factura[] = {
        {"txtDato_3", "100", "El porcentaje debe ser menor que 100."},
        {"txtDato_3", "0,5", "«0,5» no es un número: use punto decimal (0.5)."},
        {"txtDato_3", "-3",
         "El porcentaje no puede ser negativo: escriba uno de 0 a menos de 100."},
        {"txtDato_1", "XXXX", "No hay un cliente con la clave «XXXX»"},
        {"txtDato_4", "ZZZ", "No hay un cliente con la clave «ZZZ»"},
    };
    for (const Rehusado& r : factura) {
        rehusa<frmReproceso>(*this, r);
    }
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

// A number pasted into a number field, as the clerk meant it; then the field's limits.
TEST_F(CamposDeVentanas, UnNumeroPegadoSeLeeComoSeQuiso) {
    const struct {
        int ventana; // 0 cap, 1 percentage, 2 invoice
        const char* caja;
        const char* pegado;
        const char* queda; // the field's text once left; the field's old text when refused
        const char* aviso; // the start of the warning of a refused paste
    } casos[] = {
        {0, "txtDato_2", "ABC $1,234.50 peso", "1,234.50", ""},
        {0, "txtDato_2", "$1,234.50 pesos", "1,234.50", ""},
        {0, "txtDato_3", "Folio 1,500", "1,500", ""},
        {0, "txtDato_2", "dos mil", "0.00", "«dos mil» no es un número"},
        {1, "txtDato_2", "12.5 %", "12.50", ""},
        {1, "txtDato_2", "$1,234.50 pesos", "0.00",
         "Este campo admite a lo más 5 caracteres; el número pegado, 1234.50, tiene 7."},
        {1, "txtDato_0", "ABC 501 peso", "501", ""},
        {2, "txtDato_3", "10 %", "10.00", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.pegado);
        std::unique_ptr<QDialog> ventana;
        if (c.ventana == 0) {
            ventana = std::make_unique<frmRemisTyP>();
        } else if (c.ventana == 1) {
            ventana = std::make_unique<frmRemisPorcen>();
        } else {
            ventana = std::make_unique<frmReproceso>();
        }
        ASSERT_TRUE(ActivaVentana(ventana.get()));
        pega(*ventana, c.caja, QString::fromUtf8(c.pegado));
        EXPECT_TRUE(*c.aviso == 0 ? aviso(*ventana).isEmpty()
                                  : aviso(*ventana).startsWith(QString::fromUtf8(c.aviso)))
            << qPrintable(aviso(*ventana));
        EXPECT_TRUE(salDe(*ventana, c.caja));
        EXPECT_EQ(Control<QLineEdit>(*ventana, c.caja)->text(), QString::fromUtf8(c.queda));
        ventana->close();
    }
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(CamposDeVentanas, LoQueSePegaSeLeeComoSeQuisoORehusaSinCambiarse) {
    frmRemisTyP tope;
    ASSERT_TRUE(ActivaVentana(&tope));
    // The largest cap shows whole.
    escribe(tope, "txtDato_2", QStringLiteral("99999999999"));
    EXPECT_TRUE(salDe(tope, "txtDato_2"));
    QLineEdit* campoTope = Control<QLineEdit>(tope, "txtDato_2");
    EXPECT_EQ(campoTope->text(), QStringLiteral("99,999,999,999.00"));
    EXPECT_LE(campoTope->fontMetrics().horizontalAdvance(campoTope->text()) + 8,
              campoTope->width());

    pega(tope, "mkeFecha_0", QStringLiteral("2026-11-01"));
    EXPECT_EQ(Control<QLineEdit>(tope, "mkeFecha_0")->text(), QStringLiteral("01/11/2026"));
    pega(tope, "mkeFecha_1", QStringLiteral("el primero"));
    EXPECT_NE(Control<QLineEdit>(tope, "mkeFecha_1")->text(), QStringLiteral("el/pr/imer"));
    EXPECT_TRUE(aviso(tope).startsWith(QStringLiteral("No se puede leer «el primero» como fecha")))
        << qPrintable(aviso(tope));

    const int largo = Control<QLineEdit>(tope, "txtDato_4")->maxLength();
    EXPECT_EQ(largo, base.valor(QStringLiteral("SELECT CHARACTER_MAXIMUM_LENGTH FROM "
                                               "information_schema.COLUMNS WHERE TABLE_SCHEMA="
                                               "DATABASE() AND TABLE_NAME='remisiones' AND "
                                               "COLUMN_NAME='Serie'"))
                         .toInt());
    escribe(tope, "txtDato_4", QStringLiteral("A"));
    pega(tope, "txtDato_4", QString(300, QLatin1Char('Z')));
    EXPECT_EQ(Control<QLineEdit>(tope, "txtDato_4")->text(), QStringLiteral("A"));
    EXPECT_TRUE(aviso(tope).contains(QStringLiteral("lo pegado tiene 300")))
        << qPrintable(aviso(tope));

    tope.close();
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

// The series is text: left empty it stays empty, typed it stays as typed, and "Comprobar"
// pressed from the field checks and shows that same series.
TEST_F(CamposDeVentanas, LaSerieQuedaComoSeEscribioYEsLaQueSeComprueba) {
    AgregaNotas(base, {{5, QDate(2026, 11, 4), 100, 16, 0, QStringLiteral(""), 505}});
    struct Caso {
        const char* serie;
        int encontradas;
    };
    for (const Caso& c : {Caso{"", 1}, Caso{"A", 4}}) {
        frmRemisTyP tope;
        ASSERT_TRUE(ActivaVentana(&tope));
        escribe(tope, "txtDato_4", QString::fromUtf8(c.serie));
        EXPECT_TRUE(salDe(tope, "txtDato_4"));
        EXPECT_EQ(Control<QLineEdit>(tope, "txtDato_4")->text(), QString::fromUtf8(c.serie));
        tope.close();

        frmRemisPorcen porcentaje;
        ASSERT_TRUE(ActivaVentana(&porcentaje));
        LlenaPorcentaje(porcentaje, "501", "505", c.serie, "10");
        EXPECT_TRUE(salDe(porcentaje, "txtDato_4"));
        EXPECT_EQ(Control<QLineEdit>(porcentaje, "txtDato_4")->text(), QString::fromUtf8(c.serie));
        QLineEdit* serie = Control<QLineEdit>(porcentaje, "txtDato_4");
        serie->setFocus();
        teclaEn(serie, Qt::Key_C, Qt::AltModifier);
        EXPECT_TRUE(EsperaHasta([&porcentaje] {
            return Control<QPushButton>(porcentaje, "Command1")->isEnabled();
        })) << c.serie;
        EXPECT_EQ(Control<QLabel>(porcentaje, "lblEncontradas")->text(),
                  QStringLiteral("Remisiones encontradas: %1").arg(c.encontradas));
        EXPECT_EQ(serie->text(), QString::fromUtf8(c.serie));
        porcentaje.close();
    }
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

// A range written backwards is refused beside its last folio, with the fix, not in a box.
TEST_F(CamposDeVentanas, UnRangoAlRevesSeRehusaAlLadoDelCampo) {
    frmRemisPorcen ventana;
    ASSERT_TRUE(ActivaVentana(&ventana));
    LlenaPorcentaje(ventana, "160", "100", "A", "10");
    pulsa(ventana, "Command2");
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(aviso(ventana), QStringLiteral("La remisión final (100) es menor que la inicial "
                                             "(160): escriba el rango de menor a mayor."));
    EXPECT_TRUE(
        EsperaHasta([&ventana] { return Control<QLineEdit>(ventana, "txtDato_1")->hasFocus(); }));
    EXPECT_FALSE(Control<QPushButton>(ventana, "Command1")->isEnabled());
}

TEST_F(CamposDeVentanas, ElClienteDeLaFacturaSeRevisaAntesDeLaPregunta) {
    frmReproceso ventana;
    ASSERT_TRUE(ventana.Cargada());
    ASSERT_TRUE(ActivaVentana(&ventana));
    escribe(ventana, "txtDato_3", QStringLiteral("10"));
    ASSERT_TRUE(salDe(ventana, "txtDato_3"));
    EXPECT_EQ(Control<QLineEdit>(ventana, "txtDato_3")->text(), QStringLiteral("10.00"));
    pulsa(ventana, "cmdAplicar");
    ASSERT_TRUE(Control<QPushButton>(ventana, "cmdGenerar")->isEnabled());
    // One piece less 10 % is still one piece: the reduction that results is said, and why.
    EXPECT_EQ(Control<QLabel>(ventana, "lblResul_7")->text(), QStringLiteral("232.00"));
    EXPECT_EQ(Control<QLabel>(ventana, "lblReduccion")->text(),
              QStringLiteral("Reducción efectiva 0.0 %: las cantidades se redondean a enteros"));
    // Unknown when it is pressed: said at once, no question asked.
    escribe(ventana, "txtDato_1", QStringLiteral("XXXX"));
    pulsa(ventana, "cmdGenerar");
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_TRUE(aviso(ventana).startsWith(QStringLiteral("No hay un cliente con la clave «XXXX»")));
    EXPECT_TRUE(Control<QLineEdit>(ventana, "txtDato_1")->hasFocus());
    escribe(ventana, "txtDato_1", QStringLiteral("CLIENTE"));
    EXPECT_TRUE(salDe(ventana, "txtDato_1"));
    EXPECT_TRUE(aviso(ventana).isEmpty());
}

} // namespace
