#include "arranque/IconoDelPrograma.h"

#include <QPainter>
#include <QPainterPath>

QPixmap IconoDelPrograma::Imagen(int lado) {
    QPixmap imagen(lado, lado);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 64.0, lado / 64.0);

    QPainterPath hoja;
    hoja.moveTo(14, 4);
    hoja.lineTo(50, 4);
    hoja.lineTo(50, 56);
    for (int i = 0; i < 6; ++i) {
        hoja.lineTo(47 - i * 6, 60);
        hoja.lineTo(44 - i * 6, 56);
    }
    hoja.lineTo(14, 4);
    p.setPen(QPen(QColor(40, 70, 120), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawPath(hoja);

    p.setPen(QPen(QColor(90, 120, 170), 2.5));
    for (int y = 16; y <= 40; y += 8) {
        p.drawLine(20, y, y == 40 ? 32 : 44, y);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 140, 70));
    p.drawEllipse(QPointF(42, 44), 8, 8);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(38, 44), QPointF(41, 47.5), QPointF(46.5, 40.5)}));
    return imagen;
}

QIcon IconoDelPrograma::Icono() {
    QIcon icono;
    for (int lado : {16, 32, 48, 64, 128}) {
        icono.addPixmap(Imagen(lado));
    }
    return icono;
}
