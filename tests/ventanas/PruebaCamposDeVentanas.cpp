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
        {"txtDato_2", "0", "El tope debe ser mayor que 0"},
        {"txtDato_2", "", "El tope debe ser mayor que 0"},
        {"txtDato_2", "1,5", "El tope debe ser mayor que 0"},
        {"txtDato_3", "12.5", "El folio a imprimir debe estar entre 1 y 2,147,483,647"},
        {"txtDato_3", "3000000000", "El folio a imprimir debe estar entre 1 y 2,147,483,647"},
    };
    for (const Rehusado& r : tope) {
        rehusa<frmRemisTyP>(*this, r);
    }
    const Rehusado porcentaje[] = {
        {"txtDato_2", "0,5", "Porcentaje entre 0 y 100; use punto decimal"},
        {"txtDato_2", "100", "Porcentaje entre 0 y 100; use punto decimal"},
        {"txtDato_2", "150", "Porcentaje entre 0 y 100; use punto decimal"},
        {"txtDato_0", "1,5", "Los folios de las remisiones van de 1 a 2,147,483,647"},
    };
    for (const Rehusado& r : porcentaje) {
        rehusa<frmRemisPorcen>(*this, r);
    }
    const Rehusado factura[] = {
        {"txtDato_3", "100", "Porcentaje entre 0 y 100; use punto decimal"},
        {"txtDato_3", "0,5", "Porcentaje entre 0 y 100; use punto decimal"},
        {"txtDato_1", "XXXX", "No hay un cliente con la clave «XXXX»"},
    };
    for (const Rehusado& r : factura) {
        rehusa<frmReproceso>(*this, r);
    }
    EXPECT_TRUE(dialogos.cajas().isEmpty());
}

TEST_F(CamposDeVentanas, LoQueSePegaSeLeeComoSeQuisoORehusaSinCambiarse) {
    frmRemisTyP tope;
    ASSERT_TRUE(ActivaVentana(&tope));
    pega(tope, "txtDato_2", QStringLiteral("ABC $1,234.50 peso"));
    EXPECT_TRUE(salDe(tope, "txtDato_2"));
    EXPECT_EQ(Control<QLineEdit>(tope, "txtDato_2")->text(), QStringLiteral("1,234.50"));
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
    frmRemisPorcen porcentaje;
    ASSERT_TRUE(ActivaVentana(&porcentaje));
    pega(porcentaje, "txtDato_0", QStringLiteral("ABC 501 peso"));
    EXPECT_TRUE(salDe(porcentaje, "txtDato_0"));
    EXPECT_EQ(Control<QLineEdit>(porcentaje, "txtDato_0")->text(), QStringLiteral("501"));
    porcentaje.close();
    EXPECT_TRUE(dialogos.cajas().isEmpty());
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
