#include "ventanas/TotalesDeLaFactura.h"

#include "interfaz/ColocadorDeControles.h"
#include "orvlib/Formato.h"
#include "trabajos/factura/DatosDeFactura.h"
#include "trabajos/factura/TextosDeFactura.h"

#include <QLabel>

TotalesDeLaFactura::TotalesDeLaFactura(const ColocadorDeControles& coloca, const QString& tinte) {
    etiqueta(coloca, QStringLiteral("lblDato_8"), QStringLiteral("Sin aplicar descuento:"), 720,
             5280, 3000);
    etiqueta(coloca, QStringLiteral("lblDato_13"), QStringLiteral("Con el % aplicado:"), 4080, 5280,
             3000);
    const char* filas[] = {"Subtotal:", "I. V. A.:", "IEPS:", "Total:"};
    for (int f = 0; f < 4; ++f) {
        const int arriba = 5640 + f * 480;
        for (int lado = 0; lado < 2; ++lado) {
            etiqueta(coloca, QStringLiteral("lblDato_%1").arg(9 + f + lado * 5),
                     QString::fromLatin1(filas[f]), lado == 0 ? 1080 : 4560, arriba + 45, 1000);
            const int i = f + lado * 4;
            lblResul[i] = etiqueta(coloca, QStringLiteral("lblResul_%1").arg(i), QString(),
                                   lado == 0 ? 2160 : 5640, arriba, 1695, 375);
            lblResul[i]->setWordWrap(false);
            lblResul[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lblResul[i]->setStyleSheet(tinte);
            lblResul[i]->setMargin(2);
        }
    }
    lblReduccion = etiqueta(coloca, QStringLiteral("lblReduccion"), QString(), 720, 7560, 6615);
}

QLabel* TotalesDeLaFactura::etiqueta(const ColocadorDeControles& coloca, const QString& nombre,
                                     const QString& texto, int izquierda, int arriba, int ancho,
                                     int alto) {
    QLabel* l = coloca.Etiqueta(nombre, texto, izquierda, arriba, ancho, alto);
    l->setWordWrap(true);
    return l;
}

void TotalesDeLaFactura::Muestra(const TotalesDeFactura& t, double porcentaje) {
    const Importe valores[] = {t.subtotalAntes,   t.ivaAntes,   t.iepsAntes,   t.totalAntes(),
                               t.subtotalDespues, t.ivaDespues, t.iepsDespues, t.totalDespues()};
    for (int i = 0; i < 8; ++i) {
        lblResul[i]->setText(Formato::Dinero(valores[i].ADouble()));
    }
    const QString reduccion = TextosDeFactura::ReduccionEfectiva(t, porcentaje);
    lblReduccion->setText(reduccion.isEmpty() ? QString()
                                              : reduccion.left(1).toUpper() + reduccion.mid(1));
}

void TotalesDeLaFactura::Limpia() {
    for (QLabel* l : lblResul) {
        l->clear();
    }
    lblReduccion->clear();
}
