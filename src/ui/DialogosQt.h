#pragma once

#include "ui/Dialogos.h"

// The dialog service as QMessageBox windows.
class DialogosQt : public Dialogos {
public:
    void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
    bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) override;
};
