#include "reporteador/MedidaDeTexto.h"

#include <QFontMetricsF>
#include <QImage>

namespace {

constexpr double kPuntosPorMm = 1200.0 / 25.4;

const QImage& referencia() {
    static const QImage imagen = [] {
        QImage i(8, 8, QImage::Format_Mono);
        i.setDotsPerMeterX(static_cast<int>(1200 / 0.0254));
        i.setDotsPerMeterY(static_cast<int>(1200 / 0.0254));
        return i;
    }();
    return imagen;
}

} // namespace

double MedidaDeTexto::AltoDeLinea(const QFont& letra) {
    return QFontMetricsF(letra, &referencia()).lineSpacing() / kPuntosPorMm;
}

QStringList MedidaDeTexto::Parte(const QString& texto, double anchoMm, const QFont& letra) {
    const QFontMetricsF m(letra, &referencia());
    const double ancho = anchoMm * kPuntosPorMm;
    QStringList lineas;
    for (const QString& parrafo : QString(texto)
                                      .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                      .split(QLatin1Char('\n'))) {
        QString actual;
        // The width of actual, measured once each time it changes.
        qreal anchoActual = 0;
        for (const QString& palabra : parrafo.split(QLatin1Char(' '))) {
            const QString candidato =
                actual.isEmpty() ? palabra : actual + QLatin1Char(' ') + palabra;
            const qreal anchoCandidato = m.horizontalAdvance(candidato);
            if (anchoCandidato <= ancho || actual.isEmpty()) {
                actual = candidato;
                anchoActual = anchoCandidato;
            } else {
                lineas << actual;
                actual = palabra;
                anchoActual = m.horizontalAdvance(actual);
            }
            while (anchoActual > ancho && actual.size() > 1) {
                qsizetype corte = actual.size() - 1;
                while (corte > 1 && m.horizontalAdvance(actual.left(corte)) > ancho) {
                    --corte;
                }
                lineas << actual.left(corte);
                actual = actual.mid(corte);
                anchoActual = m.horizontalAdvance(actual);
            }
        }
        lineas << actual;
    }
    return lineas;
}
