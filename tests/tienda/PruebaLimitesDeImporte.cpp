#include "apoyo/BaseDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "servicios/Rechazo.h"
#include "tienda/LimitesDeImporte.h"

#include <gtest/gtest.h>

namespace {

const QString kSeleccion = QStringLiteral("remisiones WHERE Cancelada=0 AND Serie='A'");

// A note beyond what the jobs can sum, or without an amount its totals need, is refused with
// its series and folio, the field and the limit; a note at the edge passes, and the notes
// outside the selection do not count.
class LimitesDeImporte_ : public ::testing::Test {
protected:
    BaseDePrueba base;

    void SetUp() override {
        base.ejecuta(QStringLiteral("ALTER TABLE remisiones MODIFY Subtotal DECIMAL(18,4) NULL"));
        base.ejecuta(
            QStringLiteral("ALTER TABLE remisionesdetalle MODIFY PrecioNeto DECIMAL(18,4) NULL"));
        AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 7001},
                           {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("B"), 7002}});
    }

    QString rechazo(const QString& seleccion = kSeleccion) {
        try {
            LimitesDeImporte::Revisa(base.conexion(), seleccion);
        } catch (const Rechazo& r) {
            return r.texto();
        }
        return {};
    }
};

TEST_F(LimitesDeImporte_, CadaCampoFueraDeRangoNombraRemisionCampoYLimite) {
    const struct {
        const char* cambio;
        const char* esperado; // empty: the note passes
    } casos[] = {
        {"UPDATE remisiones SET Subtotal=99999999999.99 WHERE Id=1", ""},
        {"UPDATE remisiones SET Subtotal=NULL WHERE Id=1",
         "A 7001 no se puede usar: su Subtotal está vacío"},
        {"UPDATE remisiones SET IVA=100000000000 WHERE Id=1", "su IVA pasa de 100,000,000,000.00"},
        {"UPDATE remisiones SET Anticipo=-100000000000 WHERE Id=1", "su Anticipo pasa de"},
        {"UPDATE remisiones SET Desc2=100.5 WHERE Id=1", "su Desc2 no está entre 0 y 100 %"},
        {"UPDATE remisiones SET Desc1=100 WHERE Id=1", ""},
        {"UPDATE remisionesdetalle SET PrecioNeto=NULL WHERE Id=1",
         "en su partida 1, PrecioNeto está vacío"},
        {"UPDATE remisionesdetalle SET PrecioNeto=999999999999.99 WHERE Id=1",
         "en su partida 1, PrecioNeto pasa de 100,000,000,000.00"},
        {"UPDATE remisionesdetalle SET Cantidad=9999, PrecioNeto=99999999.99 WHERE Id=1",
         "el importe (cantidad por precio) pasa de 100,000,000,000.00"},
        {"UPDATE remisionesdetalle SET Cantidad=1000000000 WHERE Id=1",
         "Cantidad pasa de 1,000,000,000"},
        {"UPDATE remisionesdetalle SET IVA=-16 WHERE Id=1", "IVA no está entre 0 y 1,000 %"},
        {"UPDATE remisionesdetalle SET ImporteIVA=1e12 WHERE Id=1", "ImporteIVA pasa de"},
        {"UPDATE remisionesdetalle SET PrecioNeto=1e12 WHERE Id=2", ""},
    };
    for (const auto& c : casos) {
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 7001},
                           {2, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("B"), 7002}});
        base.ejecuta(QString::fromLatin1(c.cambio));
        const QString texto = rechazo();
        if (*c.esperado == '\0') {
            EXPECT_EQ(texto, QString()) << c.cambio;
        } else {
            EXPECT_TRUE(texto.contains(QString::fromUtf8(c.esperado))) << c.cambio << "\n"
                                                                       << qPrintable(texto);
            EXPECT_TRUE(texto.contains(QStringLiteral("La remisión A 7001"))) << qPrintable(texto);
        }
    }
}

} // namespace
