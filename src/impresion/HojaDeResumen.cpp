#include "impresion/HojaDeResumen.h"

#include "orvlib/ErrorDeEscritura.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Positions in millimetres of a letter page, turned into the writer's units (the painter keeps
// the writer's scale, so point sizes stay points).
constexpr double kMargen = 15;
constexpr double kAncho = 215.9 - 2 * kMargen;
constexpr double kFondo = 279.4 - kMargen;
constexpr double kRenglon = 5.5;
constexpr double kAltoDeGrafica = 70;

class Pagina {
public:
    Pagina(QPdfWriter& pdf, QPainter& pintor)
        : pdf_(pdf)
        , pintor_(pintor)
        , mm_(pdf.resolution() / 25.4) {}

    // A text of as many lines as it needs within the page's width.
    void texto(const QString& t, double puntos, bool negrita = false) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSizeF(puntos);
        f.setBold(negrita);
        pintor_.setFont(f);
        const QRectF medida = pintor_.boundingRect(caja(kMargen, y_, kAncho, kRenglon),
                                                   Qt::AlignLeft | Qt::TextWordWrap, t);
        const double alto = std::max(kRenglon, medida.height() / mm_ + 1);
        ajusta(alto);
        pintor_.drawText(caja(kMargen, y_, kAncho, alto),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, t);
        y_ += alto;
    }

    void fila(const QStringList& celdas, bool negrita) {
        ajusta(kRenglon);
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSizeF(8.5);
        f.setBold(negrita);
        pintor_.setFont(f);
        const double ancho = kAncho / std::max<qsizetype>(1, celdas.size());
        for (qsizetype i = 0; i < celdas.size(); ++i) {
            pintor_.drawText(caja(kMargen + ancho * i, y_, ancho - 2, kRenglon),
                             (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                             celdas[i]);
        }
        y_ += kRenglon;
    }

    void grafica(const std::function<void(QPainter&, const QRectF&)>& pinta) {
        ajusta(kAltoDeGrafica);
        pinta(pintor_, caja(kMargen, y_, kAncho, kAltoDeGrafica));
        y_ += kAltoDeGrafica + kRenglon;
    }

    void espacio() { y_ += kRenglon / 2; }

private:
    QRectF caja(double x, double y, double ancho, double alto) const {
        return QRectF(x * mm_, y * mm_, ancho * mm_, alto * mm_);
    }

    void ajusta(double alto) {
        if (y_ + alto > kFondo) {
            pdf_.newPage();
            y_ = kMargen;
        }
    }

    QPdfWriter& pdf_;
    QPainter& pintor_;
    double mm_;
    double y_ = kMargen;
};

void pintaResumen(QPdfWriter& pdf, QPainter& pintor, const DatosDeResumen& d) {
    Pagina pagina(pdf, pintor);
    pagina.texto(d.titulo, 14, true);
    pagina.espacio();
    for (const QString& p : d.parametros) {
        pagina.texto(p, 9);
    }
    pagina.espacio();
    if (d.grafica) {
        pagina.grafica(d.grafica);
    }
    pagina.fila(d.encabezados, true);
    for (const QStringList& f : d.filas) {
        pagina.fila(f, false);
    }
    if (!d.totales.isEmpty()) {
        pagina.fila(d.totales, true);
    }
    pagina.espacio();
    pagina.texto(QStringLiteral("Bitácora: ") + d.bitacora, 7.5);
}

} // namespace

void HojaDeResumen::Escribe(const QString& ruta, const DatosDeResumen& datos) {
    EscritorDeArchivo::CreaCarpetaDe(ruta);
    EscritorDeArchivo archivo(ruta);
    QPdfWriter pdf(&archivo.dispositivo());
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(datos.titulo);
    pdf.setCreator(QStringLiteral("DeRemisiones"));
    QPainter pintor;
    if (!pintor.begin(&pdf)) {
        throw ErrorOrvlib(ErrorDeEscritura::kNumero,
                          QStringLiteral("No se puede escribir el resumen"), ruta);
    }
    pintaResumen(pdf, pintor, datos);
    const bool terminado = pintor.end();
    archivo.termina([&](const SalidaRevisada& salida) {
        return terminado && salida.cola().trimmed().endsWith("%%EOF")
                   ? QString()
                   : QStringLiteral("El resumen %1 quedó incompleto")
                         .arg(QFileInfo(ruta).fileName());
    });
}
