#pragma once

#include "servicios/Dialogos.h"

// The dialog service as QMessageBox windows, and the application's busy pointer.
class DialogosQt : public Dialogos {
public:
    void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
    void mensajeConDetalle(const QString& texto, const QString& detalle, const QString& titulo,
                           Icono icono) override;
    bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) override;
    int elige(const QString& texto, const QString& titulo, const QStringList& opciones,
              int inicial) override;
    void ocupado(bool siNo) override;
    QString archivoParaGuardar(const QString& titulo, const QString& propuesto,
                               const QString& filtros) override;
};
