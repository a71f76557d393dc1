#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "trabajos/tope/GraficaDeDias.h"
#include "trabajos/tope/NotasElegidas.h"
#include "trabajos/tope/ReimpresionConTope.h"
#include "trabajos/tope/ResumenDeTope.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QDate kDia1(2026, 11, 2);
const QDate kDia2(2026, 11, 3);

Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

// A cap run of two days, 600.00 and 300.00, under a cap of 450.00: the first day's share is
// 300.00 and its second note passes it; the second day's share is 150.00.
class LoQueElTopeEligio : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    ReimpresionConTope trabajo{base.conexion(), carpeta.ruta(QStringLiteral("Lista.txt"))};
    ResultadoDeTope resultado;

    void SetUp() override {
        AgregaNotas(base, {{1, kDia1, 250, 0, 0, QStringLiteral("A"), 71},
                           {2, kDia1, 100, 0, 0, QStringLiteral("A"), 72},
                           {3, kDia1, 250, 0, 0, QStringLiteral("A"), 73},
                           {4, kDia2, 200, 0, 0, QStringLiteral("A"), 74},
                           {5, kDia2, 100, 0, 0, QStringLiteral("A"), 75}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Cliente='C9', Nombre='ANA' WHERE Id=2"));
        resultado = trabajo.Aplica(kDia1, kDia2, QStringLiteral("A"), imp("450"), 1500);
    }
};

TEST_F(LoQueElTopeEligio, CadaDiaConSusRemisionesYSuParte) {
    const struct {
        QDate dia;
        const char* parte;
        QStringList notas; // original folio, customer, total, new folio
    } casos[] = {
        {kDia1, "300.00", {"A 71 C001 250.00 1500", "A 72 C9 100.00 1501"}},
        {kDia2, "150.00", {"A 74 C001 200.00 1502"}},
    };
    ASSERT_EQ(resultado.dias.size(), 2);
    for (int d = 0; d < 2; ++d) {
        QStringList leidas;
        for (const NotaElegida& n : NotasElegidas::DelDia(base.conexion(), casos[d].dia)) {
            leidas << QStringLiteral("%1 %2 %3 %4 %5")
                          .arg(n.serie)
                          .arg(n.folioOriginal)
                          .arg(n.cliente)
                          .arg(QString::number(n.total.ADouble(), 'f', 2))
                          .arg(n.folioNuevo);
        }
        EXPECT_EQ(leidas, casos[d].notas) << d;
        EXPECT_EQ(NotasElegidas::ParteDelTope(resultado.dias[d], resultado, imp("450")),
                  imp(casos[d].parte))
            << d;
    }
    EXPECT_EQ(NotasElegidas::Resumen(resultado, imp("450")),
              QStringLiteral("Elegido 550.00 de un tope de 450.00 (cada día incluye la remisión "
                             "que alcanza su parte)"));
}

// The picture agrees with the grid: each bar as high as its figure, the mark at the share.
TEST_F(LoQueElTopeEligio, LaGraficaDibujaLasCifrasDeLaReja) {
    QImage imagen(400, 200, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    const GraficaDeDias grafica(resultado, imp("450"));
    const QRectF area(0, 0, 400, 200);
    {
        QPainter pintor(&imagen);
        grafica.Pinta(pintor, area);
    }
    // The scale's top is the first day's 600.00: its real bar is as high as the drawing;
    // the second day's, half of it; each chosen bar is its share of those.
    const QRectF real1 = grafica.BarraReal(area, 0);
    const QRectF real2 = grafica.BarraReal(area, 1);
    EXPECT_NEAR(real2.height() * 2, real1.height(), 1);
    EXPECT_NEAR(grafica.BarraElegida(area, 0).height(), real1.height() * 350 / 600, 1);
    EXPECT_NEAR(grafica.MarcaDeLaParte(area, 1), real1.bottom() - real1.height() / 4, 1);
    const auto color = [&imagen](double x, double y) {
        return QColor(imagen.pixel(static_cast<int>(x), static_cast<int>(y)));
    };
    const QRectF elegida1 = grafica.BarraElegida(area, 0);
    // Above the chosen bar, inside the real one; inside the chosen one; above the second
    // day's real bar, nothing.
    EXPECT_EQ(color(real1.left() + 2, elegida1.top() - 5), GraficaDeDias::kReal);
    EXPECT_EQ(color(elegida1.center().x(), elegida1.bottom() - 3), GraficaDeDias::kElegido);
    EXPECT_EQ(color(real2.center().x(), real2.top() - 10), QColor(Qt::white));
    EXPECT_EQ(color(real2.left() + 1, grafica.MarcaDeLaParte(area, 1)), GraficaDeDias::kParte);
}

// The summary on paper carries the parameters, the chosen total against the cap, the grid's
// rows and totals and the trail's line, as pdftotext reads them back.
TEST_F(LoQueElTopeEligio, ElResumenEnPapel) {
    const QString ruta = carpeta.ruta(QStringLiteral("resumen/tope.pdf"));
    HojaDeResumen::Escribe(ruta,
                           ResumenDeTope::Datos(resultado, imp("450"),
                                                QStringLiteral("del 02/11/2026 al 03/11/2026"),
                                                QStringLiteral("tope aplicar: 3 elegidas")));
    const QString texto = PaginasDePdf(ruta).join(QLatin1Char('\n')).simplified();
    for (const char* esperado :
         {"Reimpresión de remisiones por tope y por período", "del 02/11/2026 al 03/11/2026",
          "Elegido 550.00 de un tope de 450.00", "02/nov/2026 600.00 350.00 2 Del 1500 al 1501",
          "03/nov/2026 300.00 200.00 1 Del 1502 al 1502", "Totales: 900.00 550.00 3",
          "Bitácora: tope aplicar: 3 elegidas"}) {
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n"
                                                                 << qPrintable(texto);
    }
}

} // namespace
