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

int Plantilla::indiceDeUbicacion(int tabla) const {
    const auto clave = [this](int i) {
        return (tablas[i].deAccess ? QStringLiteral("a ") : QStringLiteral("m ")) +
               tablas[i].nombre.toLower();
    };
    QStringList distintas;
    for (int i = 0; i <= tabla && i < tablas.size(); ++i) {
        if (!distintas.contains(clave(i))) {
            distintas << clave(i);
        }
    }
    return static_cast<int>(distintas.indexOf(clave(tabla)));
}

namespace {

void agregaImagenes(const std::vector<ElementoDePlantilla>& elementos, QStringList& nombres) {
    for (const ElementoDePlantilla& e : elementos) {
        if (e.tipo == ElementoDePlantilla::Tipo::Imagen &&
            !nombres.contains(e.texto, Qt::CaseInsensitive)) {
            nombres << e.texto;
        }
        agregaImagenes(e.renglon, nombres);
    }
}

} // namespace

QStringList Plantilla::imagenes() const {
    QStringList nombres;
    for (const BandaDePlantilla* b : {&encabezadoPagina, &encabezadoDocumento, &encabezadoDetalle,
                                      &detalle, &pieDocumento, &piePagina}) {
        agregaImagenes(b->elementos, nombres);
    }
    return nombres;
}
