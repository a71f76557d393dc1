#pragma once

#include <QString>
#include <array>

class ColocadorDeControles;
class QLabel;
struct TotalesDeFactura;

// The invoice window's eight totals, before and after the reduction, each with its label
// (lblResul_0 … lblResul_7), and under them the reduction they come to when rounding the
// quantities to whole numbers made it another than the one asked (lblReduccion).
class TotalesDeLaFactura {
public:
    // Builds the labels in the window; tinte is the style of the boxes that show figures.
    TotalesDeLaFactura(const ColocadorDeControles& coloca, const QString& tinte);

    void Muestra(const TotalesDeFactura& totales, double porcentaje);
    void Limpia();

private:
    static QLabel* etiqueta(const ColocadorDeControles& coloca, const QString& nombre,
                            const QString& texto, int izquierda, int arriba, int ancho,
                            int alto = 300);

    std::array<QLabel*, 8> lblResul{};
    QLabel* lblReduccion = nullptr;
};
