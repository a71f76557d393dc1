#include "vistaprevia/VistaPrevia.h"

#include "reporteador/Pintor.h"
#include "reporteador/Reporteador.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

VistaPrevia::VistaPrevia(const QString& titulo, const QVector<PaginaMaquetada>& paginas,
                         QSizeF hojaMm, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(titulo);
    constexpr double kEscala = 3.2; // pixels per mm, about 80 % of life size on a usual screen
    auto* hojas = new QWidget;
    auto* columna = new QVBoxLayout(hojas);
    for (const PaginaMaquetada& pagina : paginas) {
        QImage imagen((hojaMm * kEscala).toSize(), QImage::Format_RGB32);
        // Letters are sized by the image's resolution: the scale's, so they keep to the layout.
        imagen.setDotsPerMeterX(static_cast<int>(kEscala * 1000));
        imagen.setDotsPerMeterY(static_cast<int>(kEscala * 1000));
        imagen.fill(Qt::white);
        QPainter pintor(&imagen);
        Pintor::Pinta(pintor, pagina, kEscala);
        pintor.end();
        auto* hoja = new QLabel;
        hoja->setPixmap(QPixmap::fromImage(imagen));
        columna->addWidget(hoja);
    }
    auto* desplazable = new QScrollArea;
    desplazable->setWidget(hojas);
    desplazable->setAlignment(Qt::AlignHCenter);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(desplazable);
    resize(static_cast<int>(hojaMm.width() * kEscala) + 60, 800);
}

void VistaPrevia::Instala(QWidget* padre) {
    const QPointer<QWidget> sobre(padre);
    Reporteador::PonPresentador(
        [sobre](const QString& titulo, const QVector<PaginaMaquetada>& paginas, QSizeF hojaMm) {
            VistaPrevia vista(titulo, paginas, hojaMm, sobre.data());
            vista.exec();
        });
}
