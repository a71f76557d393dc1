#include "reporteador/Plantilla.h"

int Plantilla::indiceDeTabla(const QString& nombre) const {
    for (int i = 0; i < tablas.size(); ++i) {
        if (tablas[i].nombre.compare(nombre, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int Plantilla::indiceDeFormula(const QString& nombre) const {
    for (int i = 0; i < formulas.size(); ++i) {
        if (formulas[i].compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}
