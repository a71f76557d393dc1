#pragma once

#include <QFont>
#include <QStringList>

// Text measured as the layout measures it: fixed 1200 dpi metrics, so every output (PDF,
// printer, preview) breaks lines and pages alike.
class MedidaDeTexto {
public:
    // Text cut into lines that fit the width (mm) in that font.
    static QStringList Parte(const QString& texto, double anchoMm, const QFont& letra);
    static double AltoDeLinea(const QFont& letra);
};
