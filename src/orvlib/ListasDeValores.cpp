#include "orvlib/ListasDeValores.h"

QStringList ListasDeValores::Lotes(const QStringList& valores) {
    QStringList listas;
    for (qsizetype i = 0; i < valores.size(); i += kPorSentencia) {
        listas << valores.mid(i, kPorSentencia).join(QLatin1Char(','));
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
