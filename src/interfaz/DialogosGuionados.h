#pragma once

#include "servicios/Dialogos.h"

#include <QList>
#include <QString>

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
    const QList<Caja>& cajas() const { return cajas_; }

    void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
    void mensajeConDetalle(const QString& texto, const QString& detalle, const QString& titulo,
                           Icono icono) override;
    bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) override;
    int elige(const QString& texto, const QString& titulo, const QStringList& opciones,
              int inicial) override;

private:
    QList<bool> respuestas_;
    QList<int> elecciones_;
    QStringList opciones_;
    QList<Caja> cajas_;
};
