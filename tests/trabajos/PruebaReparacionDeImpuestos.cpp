#include "trabajos/TopeDePrueba.h"

namespace {

// Zero tax fields of the chosen notes are worked out in cents under each compounding rule of
// the store, from the net amount: the other tax's stored base when no tax enters it (a line
// that stored BaseIVA 99 without compounding has 99 as its net amount), else quantity × price;
// stored ones and lines without rates stay as they are. On a note with discounts (10 % then
// 5 %) the net amount is always their cascade, 27.08 for 3 × 10.555: a stored base that
// disagrees with them does not take them away.
TEST_F(Tope, ReparaSoloLosImpuestosEnCeroDeLasNotasElegidas) {
    PartidaDePrueba ieps;
    ieps.cantidad = 3;
    ieps.precio = 10.555;
    ieps.ieps = 8;
    ieps.iva = 16;
    PartidaDePrueba yaTiene = ieps;
    yaTiene.baseIva = 99;
    yaTiene.importeIeps = 1.11;
    PartidaDePrueba sinTasas;
    sinTasas.cantidad = 2;
    sinTasas.precio = 5;
    const struct {
        int aplicaIva;
        int aplicaImpAd;
        // BaseImpuestoAd, ImporteImpuestoAd, BaseIVA, ImporteIVA of each of the three lines
        const char* partidas[3][4];
        // the same of the discounted note's two lines
        const char* descontadas[2][4];
    } reglas[] = {
        {0,
         0,
         {{"31.67", "2.53", "31.67", "5.07"}, {"99", "1.11", "99", "15.84"}, {"0", "0", "0", "0"}},
         {{"27.08", "2.17", "27.08", "4.33"}, {"27.08", "1.11", "99", "15.84"}}},
        {1,
         0,
         {{"31.67", "2.53", "34.2", "5.47"},
          {"31.67", "1.11", "99", "15.84"},
          {"0", "0", "0", "0"}},
         {{"27.08", "2.17", "29.25", "4.68"}, {"27.08", "1.11", "99", "15.84"}}},
        {1,
         1,
         {{"31.67", "2.53", "34.2", "5.47"},
          {"31.67", "1.11", "99", "15.84"},
          {"0", "0", "0", "0"}},
         {{"27.08", "2.17", "29.25", "4.68"}, {"27.08", "1.11", "99", "15.84"}}},
        {0,
         1,
         {{"36.74", "2.94", "31.67", "5.07"},
          {"114.84", "1.11", "99", "15.84"},
          {"0", "0", "0", "0"}},
         {{"31.41", "2.51", "27.08", "4.33"}, {"42.92", "1.11", "99", "15.84"}}},
    };
    const char* campos[] = {"BaseImpuestoAd", "ImporteImpuestoAd", "BaseIVA", "ImporteIVA"};
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA, AplicaImpAd) VALUES (0, 0)"));
    for (const auto& r : reglas) {
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        base.ejecuta(QStringLiteral("UPDATE configura SET AplicaIVA=%1, AplicaImpAd=%2")
                         .arg(r.aplicaIva)
                         .arg(r.aplicaImpAd));
        AgregaNotas(base,
                    {{1, kDia1, 100, 0, 0, QStringLiteral("A"), 0, 0, {ieps, yaTiene, sinTasas}},
                     {2, kDia1, 100, 0, 0, QStringLiteral("A"), 0, 0, {ieps}},
                     {3, kDia2, 100, 0, 0, QStringLiteral("A"), 0, 0, {ieps, yaTiene}}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Desc1=10, Desc2=5 WHERE Id=3"));
        aplica(1);
        for (int partida = 1; partida <= 3; ++partida) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(Importe::DeTexto(detalle(1, partida, campos[c])),
                          Importe::DeTexto(QString::fromLatin1(r.partidas[partida - 1][c])))
                    << r.aplicaIva << r.aplicaImpAd << " partida " << partida << " " << campos[c];
            }
        }
        for (int partida = 1; partida <= 2; ++partida) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(Importe::DeTexto(detalle(3, partida, campos[c])),
                          Importe::DeTexto(QString::fromLatin1(r.descontadas[partida - 1][c])))
                    << r.aplicaIva << r.aplicaImpAd << " con descuentos, partida " << partida << " "
                    << campos[c];
            }
        }
        // Only the chosen note is repaired, and its copy carries the repair.
        EXPECT_EQ(detalle(2, 1, "BaseIVA"), QStringLiteral("0.0000"));
        EXPECT_EQ(Importe::DeVariant(base.valor(QStringLiteral(
                      "SELECT ImporteIVA FROM tmpremisionesdetalle WHERE Id=1 AND Partida=1"))),
                  Importe::DeTexto(QString::fromLatin1(r.partidas[0][3])));
    }
}

} // namespace
