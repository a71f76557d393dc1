#include "vistaprevia/VistaPrevia.h"

#include "reporteador/Pintor.h"
#include "reporteador/Reporteador.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

QPushButton* boton(const QString& texto, const QString& nombre, const QKeySequence& tecla) {
    auto* b = new QPushButton(texto);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    if (!tecla.isEmpty()) {
        b->setShortcut(tecla);
        b->setToolTip(tecla.toString(QKeySequence::NativeText));
    }
    return b;
}

} // namespace

VistaPrevia::VistaPrevia(const QString& titulo, QVector<DocumentoEnVista> documentos,
                         QWidget* parent)
    : QDialog(parent)
    , documentos_(std::move(documentos))
    , hoja_(new QLabel) {
    setWindowTitle(titulo);
    auto* desplazable = new QScrollArea;
    desplazable->setObjectName(QStringLiteral("hojas"));
    desplazable->setWidget(hoja_);
    desplazable->setWidgetResizable(false);
    desplazable->setAlignment(Qt::AlignHCenter);
    desplazable->setBackgroundRole(QPalette::Dark);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(creaBarra());
    capa->addWidget(desplazable, 1);
    const QSizeF hoja = documentos_.isEmpty() ? QSizeF(216, 279) : documentos_.first().hojaMm;
    resize(static_cast<int>(hoja.width() * PuntosPorMm(zoom_)) + 60, 860);
    IrA(0, 0);
}

QWidget* VistaPrevia::creaBarra() {
    auto* barra = new QWidget;
    auto* fila = new QHBoxLayout(barra);
    fila->setContentsMargins(0, 0, 0, 0);
    cmdAnterior_ = boton(QStringLiteral("< Remisión &anterior"), QStringLiteral("cmdAnterior"),
                         QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    lblDocumento_ = new QLabel;
    lblDocumento_->setObjectName(QStringLiteral("lblDocumento"));
    cmdSiguiente_ = boton(QStringLiteral("Remisión &siguiente >"), QStringLiteral("cmdSiguiente"),
                          QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    cmdPaginaAnterior_ = boton(QStringLiteral("< &Página"), QStringLiteral("cmdPaginaAnterior"),
                               QKeySequence(Qt::Key_PageUp));
    lblPagina_ = new QLabel;
    lblPagina_->setObjectName(QStringLiteral("lblPagina"));
    cmdPaginaSiguiente_ = boton(QStringLiteral("Pá&gina >"), QStringLiteral("cmdPaginaSiguiente"),
                                QKeySequence(Qt::Key_PageDown));
    auto* lblZoom = new QLabel(QStringLiteral("&Zoom:"));
    cboZoom_ = new QComboBox;
    cboZoom_->setObjectName(QStringLiteral("cboZoom"));
    for (double z : kZooms) {
        cboZoom_->addItem(QStringLiteral("%1 %").arg(z * 100), z);
    }
    cboZoom_->setCurrentIndex(2);
    lblZoom->setBuddy(cboZoom_);
    auto* cerrar = boton(QStringLiteral("&Cerrar"), QStringLiteral("cmdCerrar"), {});
    for (QWidget* w : std::initializer_list<QWidget*>{cmdAnterior_, lblDocumento_, cmdSiguiente_,
                                                      cmdPaginaAnterior_, lblPagina_,
                                                      cmdPaginaSiguiente_, lblZoom, cboZoom_}) {
        fila->addWidget(w);
    }
    fila->addStretch(1);
    fila->addWidget(cerrar);
    connect(cmdAnterior_, &QPushButton::clicked, this, [this] { IrA(documento_ - 1, 0); });
    connect(cmdSiguiente_, &QPushButton::clicked, this, [this] { IrA(documento_ + 1, 0); });
    connect(cmdPaginaAnterior_, &QPushButton::clicked, this,
            [this] { IrA(documento_, pagina_ - 1); });
    connect(cmdPaginaSiguiente_, &QPushButton::clicked, this,
            [this] { IrA(documento_, pagina_ + 1); });
    connect(cboZoom_, &QComboBox::currentIndexChanged, this,
            [this] { PonZoom(cboZoom_->currentData().toDouble()); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);
    auto* acerca = new QShortcut(QKeySequence::ZoomIn, this);
    connect(acerca, &QShortcut::activated, this, [this] {
        cboZoom_->setCurrentIndex(std::min(cboZoom_->currentIndex() + 1, cboZoom_->count() - 1));
    });
    auto* aleja = new QShortcut(QKeySequence::ZoomOut, this);
    connect(aleja, &QShortcut::activated, this,
            [this] { cboZoom_->setCurrentIndex(std::max(cboZoom_->currentIndex() - 1, 0)); });
    return barra;
}

void VistaPrevia::IrA(int documento, int pagina) {
    const int documentos = static_cast<int>(documentos_.size());
    documento_ = std::clamp(documento, 0, std::max(documentos - 1, 0));
    const int paginas =
        documentos == 0 ? 0 : static_cast<int>(documentos_[documento_].paginas.size());
    pagina_ = std::clamp(pagina, 0, std::max(paginas - 1, 0));
    lblDocumento_->setText(QStringLiteral("Remisión %1 de %2").arg(documento_ + 1).arg(documentos));
    if (documentos > 0) {
        lblDocumento_->setToolTip(documentos_[documento_].titulo);
    }
    lblPagina_->setText(QStringLiteral("Página %1 de %2").arg(pagina_ + 1).arg(paginas));
    cmdAnterior_->setEnabled(documento_ > 0);
    cmdSiguiente_->setEnabled(documento_ + 1 < documentos);
    cmdPaginaAnterior_->setEnabled(pagina_ > 0);
    cmdPaginaSiguiente_->setEnabled(pagina_ + 1 < paginas);
    // A single report has no notes to page through.
    for (QWidget* w : {static_cast<QWidget*>(cmdAnterior_), static_cast<QWidget*>(lblDocumento_),
                       static_cast<QWidget*>(cmdSiguiente_)}) {
        w->setVisible(documentos > 1);
    }
    muestra();
}

void VistaPrevia::PonZoom(double zoom) {
    zoom_ = zoom;
    const int i = cboZoom_->findData(zoom);
    if (i >= 0 && i != cboZoom_->currentIndex()) {
        cboZoom_->setCurrentIndex(i);
    }
    muestra();
}

void VistaPrevia::muestra() {
    if (documentos_.isEmpty() || documentos_[documento_].paginas.isEmpty()) {
        imagen_ = QImage();
        hoja_->clear();
        return;
    }
    const DocumentoEnVista& d = documentos_[documento_];
    imagen_ = Pintor::Hoja(d.paginas[pagina_], d.hojaMm, PuntosPorMm(zoom_));
    hoja_->setPixmap(QPixmap::fromImage(imagen_));
    hoja_->resize(imagen_.size());
}

void VistaPrevia::Instala(QWidget* padre) {
    const QPointer<QWidget> sobre(padre);
    Reporteador::PonPresentador(
        [sobre](const QString& titulo, const QVector<PaginaMaquetada>& paginas, QSizeF hojaMm) {
            VistaPrevia vista(titulo, {DocumentoEnVista{titulo, paginas, hojaMm}}, sobre.data());
            vista.exec();
        });
}
