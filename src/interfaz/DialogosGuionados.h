#pragma once

#include "servicios/Dialogos.h"

#include <QList>
#include <QString>
#include <QStringList>

// The dialog service for tests: records every box shown and answers questions from a script
// (No once the script is used up, as an Enter on a No-default box would).
class DialogosGuionados : public Dialogos {
public:
    struct Caja {
        QString texto;
        QString titulo;
        Icono icono;
        bool esPregunta;
        bool noPorDefecto;
        QString detalle = {};
    };

    DialogosGuionados();
    ~DialogosGuionados() override;

    void responde(bool si) { respuestas_.append(si); }
    // The place the next list choice takes (-1: none chosen, as Escape would); the options of
    // the last list shown.
    void elegira(int opcion) { elecciones_.append(opcion); }
    const QStringList& opcionesVistas() const { return opciones_; }
    // The next file chosen to save into; an empty one is a cancel, as is a used-up script.
    void eligeArchivo(const QString& ruta) { archivos_.append(ruta); }
    const QList<Caja>& cajas() const { return cajas_; }

    void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
    void mensajeConDetalle(const QString& texto, const QString& detalle, const QString& titulo,
                           Icono icono) override;
    bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) override;
    int elige(const QString& texto, const QString& titulo, const QStringList& opciones,
              int inicial) override;

    // Recorded as a question whose text is the path proposed.
    QString archivoParaGuardar(const QString& titulo, const QString& propuesto,
                               const QString& filtros) override;

private:
    QList<bool> respuestas_;
    QList<int> elecciones_;
    QStringList opciones_;
    QStringList archivos_;
    QList<Caja> cajas_;
};
