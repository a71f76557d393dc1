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
        }
    }
    pintor.restore();
}
