#include "reporteador/Pintor.h"

#include <QFont>
#include <QPen>

namespace {

QRectF aDispositivo(const QRectF& mm, double escala) {
    return QRectF(mm.x() * escala, mm.y() * escala, mm.width() * escala, mm.height() * escala);
}

void pintaTexto(QPainter& pintor, const Trazo& t, double escala) {
    QFont letra(t.familia);
    letra.setPointSizeF(t.tamano);
    letra.setBold(t.negrita);
    letra.setItalic(t.cursiva);
    pintor.setFont(letra);
    pintor.setPen(t.color);
    const double alto = t.altoDeLinea * escala;
    const QRectF caja = aDispositivo(t.rect, escala);
    // A single line sits in the middle of its box; wrapped text starts at the top.
    double y = t.lineas.size() == 1 ? caja.top() + (caja.height() - alto) / 2
                                    : caja.top() + t.margenSuperior * escala;
    for (const QString& linea : t.lineas) {
        pintor.drawText(QRectF(caja.left(), y, caja.width(), alto),
                        static_cast<int>(t.alineacion | Qt::AlignVCenter | Qt::TextDontClip),
                        linea);
        y += alto;
    }
}

// The image in its box: filling it, or as large as it fits keeping its proportions, placed by
// the element's alignment and centred from top to bottom.
void pintaImagen(QPainter& pintor, const Trazo& t, double escala) {
    if (t.imagen.isNull()) {
        return;
    }
    const QRectF caja = aDispositivo(t.rect, escala);
    QRectF destino = caja;
    if (!t.estira) {
        const QSizeF tamano = QSizeF(t.imagen.size()).scaled(caja.size(), Qt::KeepAspectRatio);
        const double libre = caja.width() - tamano.width();
        const double x = t.alineacion & Qt::AlignRight     ? libre
                         : t.alineacion & Qt::AlignHCenter ? libre / 2
                                                           : 0;
        destino = QRectF(
            QPointF(caja.left() + x, caja.top() + (caja.height() - tamano.height()) / 2), tamano);
    }
    pintor.drawImage(destino, t.imagen);
}

} // namespace

void Pintor::Pinta(QPainter& pintor, const PaginaMaquetada& pagina, double unidadesPorMm) {
    pintor.save();
    pintor.setRenderHint(QPainter::Antialiasing);
    for (const Trazo& t : pagina.trazos) {
        switch (t.tipo) {
        case ElementoDePlantilla::Tipo::Caja:
            pintor.setPen(t.grueso > 0 ? QPen(t.color, t.grueso * unidadesPorMm) : QPen(Qt::NoPen));
            pintor.setBrush(t.relleno.isValid() ? QBrush(t.relleno) : QBrush(Qt::NoBrush));
            pintor.drawRect(aDispositivo(t.rect, unidadesPorMm));
            break;
        case ElementoDePlantilla::Tipo::Linea:
            pintor.setPen(QPen(t.color, t.grueso * unidadesPorMm));
            pintor.drawLine(QPointF(t.rect.left() * unidadesPorMm, t.rect.top() * unidadesPorMm),
                            QPointF((t.rect.left() + t.rect.width()) * unidadesPorMm,
                                    (t.rect.top() + t.rect.height()) * unidadesPorMm));
            break;
        case ElementoDePlantilla::Tipo::Texto:
            pintaTexto(pintor, t, unidadesPorMm);
            break;
        case ElementoDePlantilla::Tipo::Imagen:
            pintaImagen(pintor, t, unidadesPorMm);
            break;
        case ElementoDePlantilla::Tipo::Renglones:
            break;
        }
    }
    pintor.restore();
}

QImage Pintor::Hoja(const PaginaMaquetada& pagina, QSizeF hojaMm, double puntosPorMm) {
    QImage hoja((hojaMm * puntosPorMm).toSize(), QImage::Format_RGB32);
    hoja.setDotsPerMeterX(static_cast<int>(puntosPorMm * 1000));
    hoja.setDotsPerMeterY(static_cast<int>(puntosPorMm * 1000));
    hoja.fill(Qt::white);
    QPainter pintor(&hoja);
    Pinta(pintor, pagina, puntosPorMm);
    return hoja;
}
