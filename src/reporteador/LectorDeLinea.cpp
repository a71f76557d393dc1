#include "reporteador/LectorDeLinea.h"

#include "reporteador/ErrorDeReporte.h"
#include "reporteador/ValoresDePlantilla.h"

QString LectorDeLinea::palabra() {
    if (!quedan()) {
        falla(QStringLiteral("faltan datos"));
    }
    return palabras_[i_++];
}

double LectorDeLinea::numero() {
    const QString p = palabra();
    bool ok = false;
    const double n = p.toDouble(&ok);
    if (!ok) {
        falla(QStringLiteral("\"%1\" no es un número").arg(p));
    }
    return n;
}

double LectorDeLinea::numero(double minimo, double maximo, const char* que) {
    const double n = numero();
    if (n < minimo || n > maximo) {
        falla(QStringLiteral("%1 debe estar entre %2 y %3, no %4")
                  .arg(QString::fromUtf8(que))
                  .arg(minimo)
                  .arg(maximo)
                  .arg(n));
    }
    return n;
}

QColor LectorDeLinea::color() {
    const QString p = palabra();
    const std::optional<QColor> c = ValoresDePlantilla::Color(p);
    if (!c) {
        falla(QStringLiteral("color inválido: %1 (se escribe #RRGGBB)").arg(p));
    }
    return *c;
}

void LectorDeLinea::falla(const QString& texto) const {
    throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                         QStringLiteral("Plantilla, línea %1: %2").arg(linea_).arg(texto));
}
