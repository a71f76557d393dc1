#include "vistaprevia/VistaPrevia.h"

#include "reporteador/Pintor.h"
#include "reporteador/Reporteador.h"

#include <QLabel>
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
        auto* hoja = new QLabel;
        hoja->setPixmap(QPixmap::fromImage(Pintor::Hoja(pagina, hojaMm, kEscala)));
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
