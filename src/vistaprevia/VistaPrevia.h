#pragma once

#include "reporteador/Maquetador.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QPushButton;

// One document as the engine laid it out: its title, pages and sheet size.
struct DocumentoEnVista {
    QString titulo;
    QVector<PaginaMaquetada> paginas;
    QSizeF hojaMm;
};

// The preview window of a report, or of every note of a print run: one page at a time, painted
// by the engine's Pintor as the printer and the PDF get it, with the documents and their pages
// paged through and a zoom. Nothing is printed.
class VistaPrevia : public QDialog {
    Q_OBJECT
public:
    VistaPrevia(const QString& titulo, QVector<DocumentoEnVista> documentos,
                QWidget* parent = nullptr);

    // Shows page pagina of document documento (both from 0), kept within bounds.
    void IrA(int documento, int pagina);
    // The page's scale: 1.0 is life size on a 96 dpi screen.
    void PonZoom(double zoom);
    int Documento() const { return documento_; }
    int Pagina() const { return pagina_; }
    const QVector<DocumentoEnVista>& Documentos() const { return documentos_; }
    // The page shown, as painted.
    const QImage& Imagen() const { return imagen_; }
    // Pixels per mm at a zoom.
    static double PuntosPorMm(double zoom) { return zoom * 96.0 / 25.4; }

    // Makes this window the report engine's preview, shown modally over the window given.
    static void Instala(QWidget* padre = nullptr);

private:
    QWidget* creaBarra();
    void muestra();

    QVector<DocumentoEnVista> documentos_;
    int documento_ = 0;
    int pagina_ = 0;
    double zoom_ = 1.0;
    QImage imagen_;
    QLabel* hoja_;
    QLabel* lblDocumento_;
    QLabel* lblPagina_;
    QPushButton* cmdAnterior_;
    QPushButton* cmdSiguiente_;
    QPushButton* cmdPaginaAnterior_;
    QPushButton* cmdPaginaSiguiente_;
    QComboBox* cboZoom_;
};
