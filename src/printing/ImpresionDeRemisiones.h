#pragma once

#include <QString>
#include <functional>

class Conexion;

// The print run both reprint jobs share: every working copy in tmpremisiones, in Id order, to
// the delivery-note template, each with its client's note text and, when the host uses several
// tax rates, its tax breakdown. A cancel takes effect after the document in progress.
class ImpresionDeRemisiones {
public:
    explicit ImpresionDeRemisiones(Conexion& cnn);

    // avance gets "Remisión " + the copy's folio before each document and may let window
    // events run; returns how many documents were printed.
    int Imprime(const std::function<void(const QString&)>& avance = {});
    void Cancela() { cancelado_ = true; }

    static QString Pregunta() { return QStringLiteral("¿Desea imprimir estas remisiones?"); }
    static QString Aviso() { return QStringLiteral("Remisiones impresas"); }

private:
    Conexion& cnn_;
    bool cancelado_ = false;
};
