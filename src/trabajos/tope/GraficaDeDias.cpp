#include "trabajos/tope/GraficaDeDias.h"

#include "trabajos/tope/NotasElegidas.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

const QColor GraficaDeDias::kReal(0xc9, 0xd6, 0xe6);
const QColor GraficaDeDias::kElegido(0x1f, 0x3a, 0x5f);
const QColor GraficaDeDias::kParte(0xd9, 0x6c, 0x1e);

namespace {

// Room for the scale on the left and the days' numbers below, in parts of the area.
constexpr double kMargenIzquierdo = 0.12;
constexpr double kMargenInferior = 0.12;
constexpr double kMargenSuperior = 0.06;

} // namespace

GraficaDeDias::GraficaDeDias(const ResultadoDeTope& resultado, Importe tope)
    : resultado_(resultado)
    , tope_(tope) {
    for (const DiaDeTope& d : resultado.dias) {
        maximo_ = std::max(
            {maximo_, d.totalReal, d.aImprimir, NotasElegidas::ParteDelTope(d, resultado, tope)});
    }
}

QRectF GraficaDeDias::lienzo(const QRectF& area) const {
    return area.adjusted(area.width() * kMargenIzquierdo, area.height() * kMargenSuperior, 0,
                         -area.height() * kMargenInferior);
}

double GraficaDeDias::alto(const QRectF& l, Importe importe) const {
    return maximo_ > Importe() ? l.height() * importe.ADouble() / maximo_.ADouble() : 0;
}

QRectF GraficaDeDias::barra(const QRectF& area, int dia, Importe importe, double ancho) const {
    const QRectF l = lienzo(area);
    const double paso = l.width() / std::max<qsizetype>(1, resultado_.dias.size());
    const double centro = l.left() + paso * (dia + 0.5);
    const double h = alto(l, importe);
    return QRectF(centro - paso * ancho / 2, l.bottom() - h, paso * ancho, h);
}

QRectF GraficaDeDias::BarraReal(const QRectF& area, int dia) const {
    return barra(area, dia, resultado_.dias[dia].totalReal, 0.8);
}

QRectF GraficaDeDias::BarraElegida(const QRectF& area, int dia) const {
    return barra(area, dia, resultado_.dias[dia].aImprimir, 0.5);
}

double GraficaDeDias::MarcaDeLaParte(const QRectF& area, int dia) const {
    const QRectF l = lienzo(area);
    return l.bottom() -
           alto(l, NotasElegidas::ParteDelTope(resultado_.dias[dia], resultado_, tope_));
}

namespace {

// A letter as high as a part of the area, shrunk until the text fits the width given.
QFont letraQueCabe(QFont letra, double alto, const QString& texto, double ancho) {
    letra.setPixelSize(std::max(6, static_cast<int>(alto)));
    while (letra.pixelSize() > 6 && QFontMetricsF(letra).horizontalAdvance(texto) > ancho) {
        letra.setPixelSize(letra.pixelSize() - 1);
    }
    return letra;
}

} // namespace

void GraficaDeDias::Pinta(QPainter& pintor, const QRectF& area) const {
    pintor.save();
    const QRectF l = lienzo(area);
    pintor.setPen(QPen(Qt::gray, 0));
    pintor.drawLine(l.bottomLeft(), l.bottomRight());
    pintor.drawLine(l.bottomLeft(), l.topLeft());
    const double altoDeLetra = area.height() * kMargenInferior * 0.45;
    const QString escala = RejaDeTope::Dinero(maximo_).section(QLatin1Char('.'), 0, 0);
    pintor.setFont(letraQueCabe(pintor.font(), altoDeLetra, escala, l.left() - area.left() - 4));
    pintor.setPen(Qt::black);
    pintor.drawText(
        QRectF(area.left(), l.top() - altoDeLetra, l.left() - area.left() - 3, altoDeLetra * 2),
        Qt::AlignRight | Qt::AlignVCenter, escala);
    const double paso = l.width() / std::max<qsizetype>(1, resultado_.dias.size());
    const QFont letraDeDias = letraQueCabe(pintor.font(), altoDeLetra, QStringLiteral("30"), 1e9);
    // A day's number every so many days when they would not fit side by side.
    const int cada = std::max(
        1, static_cast<int>(std::ceil(
               QFontMetricsF(letraDeDias).horizontalAdvance(QStringLiteral("30 ")) / paso)));
    for (int d = 0; d < resultado_.dias.size(); ++d) {
        const QRectF real = BarraReal(area, d);
        pintor.fillRect(real, kReal);
        pintor.fillRect(BarraElegida(area, d), kElegido);
        pintor.setPen(QPen(kParte, std::max(1.0, area.height() / 150)));
        const double y = MarcaDeLaParte(area, d);
        pintor.drawLine(QPointF(real.left(), y), QPointF(real.right(), y));
        if (d % cada == 0) {
            pintor.setPen(Qt::black);
            pintor.setFont(letraDeDias);
            pintor.drawText(
                QRectF(l.left() + paso * (d - 1), l.bottom(), paso * 3, area.bottom() - l.bottom()),
                Qt::AlignCenter, QString::number(resultado_.dias[d].fecha.day()));
        }
    }
    leyenda(pintor, area);
    pintor.restore();
}

void GraficaDeDias::leyenda(QPainter& pintor, const QRectF& area) const {
    const double alto = area.height() * kMargenSuperior;
    const QStringList textos = {QStringLiteral("Total real"), QStringLiteral("Elegido"),
                                QStringLiteral("Parte del tope")};
    const QColor colores[] = {kReal, kElegido, kParte};
    pintor.setFont(letraQueCabe(pintor.font(), alto * 0.8, textos.join(QStringLiteral("      ")),
                                area.width() * 0.75));
    pintor.setPen(Qt::black);
    const QFontMetricsF medidas(pintor.font());
    double x = area.right();
    for (int i = 2; i >= 0; --i) {
        x -= medidas.horizontalAdvance(textos[i]);
        pintor.drawText(QRectF(x, area.top(), medidas.horizontalAdvance(textos[i]) + 2, alto),
                        Qt::AlignLeft | Qt::AlignVCenter, textos[i]);
        x -= alto * 0.8;
        pintor.fillRect(QRectF(x, area.top() + alto * 0.25, alto * 0.5, alto * 0.5), colores[i]);
        x -= alto * 0.8;
    }
}
