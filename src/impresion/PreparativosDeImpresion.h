#pragma once

#include "impresion/AuxiliarDeLaCorrida.h"
#include "impresion/MonedasDeLaCorrida.h"
#include "impresion/PlantillaDeLaCorrida.h"
#include "tienda/CifrasDeLinea.h"

#include <QString>
#include <memory>

class Conexion;

// The state of a print run, made once for all its notes on the run's own host connection: the
// template written out, checked and its data source connected (PlantillaDeLaCorrida), the
// auxiliary file, and the lines per sheet, the tax rule and the currencies with their rates the
// store prints with. All of it is undone when the run ends, however it ends.
class PreparativosDeImpresion {
public:
    // Throws ErrorOrvlib with the cause (the template's problems, a refused connection, an
    // auxiliary file that cannot be made); then nothing is left behind.
    PreparativosDeImpresion(Conexion& host, const QString& archivoFormato);
    ~PreparativosDeImpresion();
    PreparativosDeImpresion(const PreparativosDeImpresion&) = delete;
    PreparativosDeImpresion& operator=(const PreparativosDeImpresion&) = delete;

    const PlantillaDeLaCorrida& Plantilla() const { return *plantilla_; }
    AuxiliarDeLaCorrida& Auxiliar() { return *auxiliar_; }
    int LineasPorHoja() const { return lineasPorHoja_; }
    CifrasDeLinea::Reglas Reglas() const { return reglas_; }
    const MonedasDeLaCorrida& Monedas() const { return *monedas_; }

private:
    std::unique_ptr<PlantillaDeLaCorrida> plantilla_;
    std::unique_ptr<AuxiliarDeLaCorrida> auxiliar_;
    int lineasPorHoja_ = 0;
    CifrasDeLinea::Reglas reglas_;
    std::unique_ptr<MonedasDeLaCorrida> monedas_;
};
