#pragma once

#include "reporteador/Maquetador.h"

#include <QDialog>

// The preview window of a report: its pages one under the other, as they will print.
class VistaPrevia : public QDialog {
    Q_OBJECT
public:
    VistaPrevia(const QString& titulo, const QVector<PaginaMaquetada>& paginas, QSizeF hojaMm,
                QWidget* parent = nullptr);

    // Makes this window the report engine's preview, shown modally over the window given.
    static void Instala(QWidget* padre = nullptr);
};
