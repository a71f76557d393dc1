#include "reporteador/MedidaDeTexto.h"

#include <QFontMetricsF>
#include <QHash>
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

// What one font has measured on this thread: its metrics, made once, and the texts it has cut,
// by width, which come back note after note (labels, a catalogue's descriptions).
struct DeLaLetra {
    QFontMetricsF metricas;
    QHash<QString, QStringList> partes;
};

// Bounds on what is kept, so that a long run's distinct texts do not grow without limit.
constexpr qsizetype kLetrasGuardadas = 64;
constexpr qsizetype kPartesGuardadas = 4096;

DeLaLetra& deLaLetra(const QFont& letra) {
    thread_local QHash<QFont, DeLaLetra> guardadas;
    auto it = guardadas.find(letra);
    if (it == guardadas.end()) {
        if (guardadas.size() >= kLetrasGuardadas) {
            guardadas.clear();
        }
        it = guardadas.insert(letra, DeLaLetra{QFontMetricsF(letra, &referencia()), {}});
    }
    return *it;
}

QStringList parte(const QString& texto, double ancho, const QFontMetricsF& m) {
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

} // namespace

double MedidaDeTexto::AltoDeLinea(const QFont& letra) {
    return deLaLetra(letra).metricas.lineSpacing() / kPuntosPorMm;
}

QStringList MedidaDeTexto::Parte(const QString& texto, double anchoMm, const QFont& letra) {
    DeLaLetra& medidas = deLaLetra(letra);
    const QString clave = QString::number(anchoMm, 'g', 17) + QLatin1Char('|') + texto;
    const auto guardada = medidas.partes.constFind(clave);
    if (guardada != medidas.partes.constEnd()) {
        return *guardada;
    }
    if (medidas.partes.size() >= kPartesGuardadas) {
        medidas.partes.clear();
    }
    return *medidas.partes.insert(clave, parte(texto, anchoMm * kPuntosPorMm, medidas.metricas));
}
