#include "apoyo/NotasConDescuento.h"

#include "apoyo/BaseDePrueba.h"
#include "apoyo/NotasDePrueba.h"

namespace {

constexpr std::array<double, 5> kSinDescuento{};

CifrasDeLinea::Descuentos descuentosDe(const NotaConDescuento& n, const LineaConDescuento& l) {
    CifrasDeLinea::Descuentos d;
    for (int i = 0; i < 5 && !l.bloqueado; ++i) {
        d.tasas[i] = Decimal::DeDouble(n.descuentos[i]);
    }
    return d;
}

} // namespace

const QVector<NotaConDescuento>& NotasConDescuento() {
    static const QVector<NotaConDescuento> notas = {
        {1,
         true,
         kSinDescuento,
         {{0.333, 57.10, 16, 53}, {1.5, 19.99, 8, 0}, {0.75, 12.345, 0, 26.5}, {3, 10.555, 16, 8}}},
        {2,
         false,
         kSinDescuento,
         {{2, 68.00, 16, 26.5}, {1, 189.00, 8, 26.5}, {4, 31.89, 16, 8}, {2, 28.90, 0, 0}}},
        {3, true, kSinDescuento, {{12.5, 1027.52, 16, 8}, {7, 349.99, 16, 0}, {0.75, 1200, 8, 53}}},
        {4, true, {10, 0, 0, 0, 0}, {{2, 100, 16, 0}, {1, 50, 0, 0}}},
        {5,
         true,
         {12.5, 3, 0, 0, 0},
         {{0.75, 544.30, 16, 8}, {3, 10.555, 16, 0}, {2.5, 99.99, 0, 0}, {1, 250, 16, 0, true}}},
        {6,
         false,
         {10, 5, 2.5, 0, 0},
         {{0.333, 57.10, 16, 53},
          {12.5, 1027.52, 16, 8},
          {7, 349.99, 16, 0, true},
          {1.5, 19.99, 8, 0}}},
        {7, true, {33.33, 7, 0, 0, 0}, {{125, 231.17, 16, 26.5}, {0.75, 1200, 8, 53}}},
    };
    return notas;
}

CifrasDeLinea CifrasDeLaLinea(const NotaConDescuento& nota, const LineaConDescuento& linea,
                              double factorDeCantidad) {
    return CifrasDeLinea::Calcula(Decimal::DeDouble(linea.cantidad * factorDeCantidad),
                                  Importe::DeDouble(linea.precio), Decimal::DeDouble(linea.iva),
                                  Decimal::DeDouble(linea.ieps), kReglasConDescuento,
                                  descuentosDe(nota, linea));
}

void EscribeNotasConDescuento(BaseDePrueba& base, const QDate& fecha) {
    base.ejecuta(QStringLiteral("INSERT INTO configura (AplicaIVA) SELECT 1 FROM DUAL WHERE NOT "
                                "EXISTS (SELECT 1 FROM configura)"));
    base.ejecuta(QStringLiteral("UPDATE configura SET AplicaIVA=1, AplicaImpAd=0"));
    for (const NotaConDescuento& n : NotasConDescuento()) {
        QVector<PartidaDePrueba> partidas;
        Importe subtotal;
        Importe descuento;
        Importe iva;
        Importe ieps;
        for (const LineaConDescuento& l : n.lineas) {
            const CifrasDeLinea c = CifrasDeLaLinea(n, l);
            PartidaDePrueba p{l.cantidad, l.precio, l.iva, l.ieps};
            if (n.conCifras) {
                p.baseIeps = c.baseImpAd.ADouble();
                p.importeIeps = c.importeImpAd.ADouble();
                p.baseIva = c.baseIva.ADouble();
                p.importeIva = c.importeIva.ADouble();
            }
            p.producto = (l.bloqueado ? QStringLiteral("B%1") : QStringLiteral("P%1"))
                             .arg(partidas.size() + 1);
            if (l.bloqueado) {
                base.ejecuta(QStringLiteral("INSERT IGNORE INTO productos (clave, Bloqueado) "
                                            "VALUES ('%1', 1)")
                                 .arg(p.producto));
            }
            partidas.append(p);
            subtotal += c.neto;
            descuento += c.importe - c.neto;
            iva += c.importeIva;
            ieps += c.importeImpAd;
        }
        AgregaNotas(base, {{n.id, fecha, subtotal.ADouble(), iva.ADouble(), ieps.ADouble(),
                            QStringLiteral("A"), 100 + n.id, 0, partidas}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Descuento=%1, Desc1=%2, Desc2=%3, "
                                    "Desc3=%4, Desc4=%5, Desc5=%6 WHERE Id=%7")
                         .arg(descuento.TextoSql())
                         .arg(n.descuentos[0])
                         .arg(n.descuentos[1])
                         .arg(n.descuentos[2])
                         .arg(n.descuentos[3])
                         .arg(n.descuentos[4])
                         .arg(n.id));
    }
}

qint64 TotalEnCentavos(const NotaConDescuento& nota) {
    Importe total;
    for (const LineaConDescuento& l : nota.lineas) {
        const CifrasDeLinea c = CifrasDeLaLinea(nota, l);
        total += c.neto + c.importeIva + c.importeImpAd;
    }
    return total.Diezmilesimos() / 100;
}
