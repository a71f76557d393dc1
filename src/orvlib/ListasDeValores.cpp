#include "orvlib/ListasDeValores.h"

QList<QStringList> ListasDeValores::Porciones(const QStringList& valores) {
    QList<QStringList> porciones;
    for (qsizetype i = 0; i < valores.size(); i += kPorSentencia) {
        porciones << valores.mid(i, kPorSentencia);
    }
    return porciones;
}

QStringList ListasDeValores::Lotes(const QStringList& valores) {
    QStringList listas;
    for (const QStringList& porcion : Porciones(valores)) {
        listas << porcion.join(QLatin1Char(','));
    }
    return listas;
}

QStringList ListasDeValores::Lotes(const QList<qint32>& ids) {
    QStringList textos;
    textos.reserve(ids.size());
    for (qint32 id : ids) {
        textos << QString::number(id);
    }
    return Lotes(textos);
}
