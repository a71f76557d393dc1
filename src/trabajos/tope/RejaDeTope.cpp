#include "trabajos/tope/RejaDeTope.h"

#include "orvlib/Formato.h"

QString RejaDeTope::Dinero(Importe importe) {
    return Formato::Numero(importe.ADouble(), QStringLiteral("###,###,##0.00"));
}

QStringList RejaDeTope::Encabezados() {
    return {QString(),
            QStringLiteral("Día"),
            QStringLiteral("Total real"),
            QStringLiteral("$ a imprimir"),
            QStringLiteral("No. de remis."),
            QStringLiteral("Números")};
}

QVector<QStringList> RejaDeTope::Filas(const ResultadoDeTope& resultado) {
    QVector<QStringList> filas;
    int numero = 1;
    for (const DiaDeTope& dia : resultado.dias) {
        filas.append({QString::number(numero++), Formato::DiaCorto(dia.fecha),
                      Dinero(dia.totalReal), Dinero(dia.aImprimir), QString::number(dia.remisiones),
                      dia.numeros});
    }
    return filas;
}

QStringList RejaDeTope::Totales(const ResultadoDeTope& resultado) {
    return {QString(),
            QStringLiteral("Totales:"),
            Dinero(resultado.real),
            Dinero(resultado.impreso),
            QString::number(resultado.remisiones),
            QString()};
}
