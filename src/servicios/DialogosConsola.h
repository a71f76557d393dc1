#pragma once

#include "servicios/Dialogos.h"

// The dialog service of the command-line jobs: messages go to standard error and every question
// is answered No, since nobody is there to click; the command's options say what to do.
class DialogosConsola : public Dialogos {
public:
    void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
    bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) override;
};
