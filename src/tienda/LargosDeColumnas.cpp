#include "tienda/LargosDeColumnas.h"

#include "orvlib/Conexion.h"
#include "servicios/Rechazo.h"

#include <QSqlQuery>
#include <algorithm>
#include <climits>

LargosDeColumnas::LargosDeColumnas(Conexion& cnn, const QString& tabla)
    : tabla_(tabla) {
    QSqlQuery q = cnn.consulta(
        QStringLiteral(
            "SELECT COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
            "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=? AND "
            "CHARACTER_MAXIMUM_LENGTH IS NOT NULL"),
        {tabla});
    while (q.next()) {
        largos_.insert(q.value(0).toString().toLower(),
                       static_cast<int>(std::min<qlonglong>(q.value(1).toLongLong(), INT_MAX)));
    }
}

int LargosDeColumnas::Largo(const QString& columna) const {
    return largos_.value(columna.toLower(), 0);
}

void LargosDeColumnas::Verifica(const QStringList& columnas, const QVariantList& valores) const {
    for (qsizetype i = 0; i < columnas.size() && i < valores.size(); ++i) {
        if (valores[i].typeId() == QMetaType::QString) {
            Verifica(columnas[i], valores[i].toString());
        }
    }
}

void LargosDeColumnas::Verifica(const QString& columna, const QString& valor) const {
    const int largo = Largo(columna);
    const qsizetype caracteres = valor.toUcs4().size();
    if (largo > 0 && caracteres > largo) {
        // One substitution, so a % in the text stays as it is.
        const QString muestra =
            valor.left(40) + (valor.size() > 40 ? QStringLiteral("…") : QString());
        throw Rechazo(QStringLiteral("El texto de %1 (\"%2\", %3 caracteres) no cabe en %4.%1, "
                                     "que admite %5. No se cambió nada.")
                          .arg(columna, muestra, QString::number(caracteres), tabla_,
                               QString::number(largo)));
    }
}
