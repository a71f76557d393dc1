#include "impresion/TallasDelBloque.h"

#include "orvlib/Conexion.h"
#include "orvlib/ListasDeValores.h"
#include "orvlib/Sentencias.h"
#include "tienda/Importe.h"

#include <QHash>
#include <QSqlQuery>
#include <exception>
#include <utility>

namespace {

constexpr qsizetype kBytesPorSentencia = 256 * 1024;

// Appends each row (key, Referencia, Cantidad) to its key's text, "T-CH-2/T-M-1".
void agregaReferencias(QSqlQuery& q, QHash<QString, QString>& textos) {
    while (q.next()) {
        Importe cantidad = Importe::DeVariant(q.value(2));
        if (cantidad < Importe()) {
            cantidad = Importe() - cantidad;
        }
        QString& texto = textos[q.value(0).toString()];
        texto += (texto.isEmpty() ? QString() : QStringLiteral("/")) + q.value(1).toString() +
                 QLatin1Char('-') + cantidad.TextoSql();
    }
}

QStringList literalesDe(const QStringList& textos) {
    QStringList literales;
    for (const QString& texto : textos) {
        literales << Sentencias::Texto(texto);
    }
    return literales;
}

// Each reference of a line with its quantity, in Referencia order, keyed by the line's
// IdExterna. The block's references are read together and matched letter for letter; the
// lines whose IdExterna no row holds to the letter are then read together, each keyed by its
// own value, so the server compares each as the line's own look-up would (case, trailing
// spaces).
QHash<QString, QString> textosDeReferencias(Conexion& host, const QStringList& idsExternos) {
    QHash<QString, QString> textos;
    for (const QString& lista : ListasDeValores::Lotes(literalesDe(idsExternos))) {
        QSqlQuery q = host.consulta(
            QStringLiteral("SELECT Id, Referencia, Cantidad FROM referenciaexterna WHERE Id IN "
                           "(%1) ORDER BY Id, Referencia")
                .arg(lista));
        agregaReferencias(q, textos);
    }
    QStringList sinTexto;
    for (const QString& id : idsExternos) {
        if (!textos.contains(id)) {
            sinTexto << id;
        }
    }
    for (const QStringList& porcion : ListasDeValores::Porciones(literalesDe(sinTexto))) {
        // One select a value, each comparing the column with the value itself as the line's
        // own look-up does, so no collation is imposed on the comparison.
        QStringList selecciones;
        for (const QString& literal : porcion) {
            selecciones << QStringLiteral("SELECT %1 AS v, Referencia, Cantidad FROM "
                                          "referenciaexterna WHERE Id=%1")
                               .arg(literal);
        }
        QSqlQuery q = host.consulta(selecciones.join(QStringLiteral(" UNION ALL ")) +
                                    QStringLiteral(" ORDER BY v, Referencia"));
        agregaReferencias(q, textos);
    }
    return textos;
}

} // namespace

TallasDelBloque::TallasDelBloque(Conexion& host)
    : host_(host) {}

TallasDelBloque::~TallasDelBloque() {
    try {
        Borra();
    } catch (const std::exception&) {
        // Quietly: what stopped the block is the error to report.
    }
}

void TallasDelBloque::LimpiaRestos(const QString& tablaDetalle) {
    host_.ejecuta(QStringLiteral("DELETE FROM partidatallaocolor WHERE IdExterna IN (SELECT "
                                 "IdExterna FROM %1 WHERE IdExterna<>'')")
                      .arg(Sentencias::Nombre(tablaDetalle)));
}

void TallasDelBloque::Escribe(const QString& tablaDetalle, const QList<qint32>& ids) {
    QStringList idsExternos;
    for (const QString& lista : ListasDeValores::Lotes(ids)) {
        QSqlQuery q = host_.consulta(QStringLiteral("SELECT IdExterna FROM %1 WHERE Id IN (%2) "
                                                    "AND IdExterna<>'' ORDER BY Id, Partida")
                                         .arg(Sentencias::Nombre(tablaDetalle), lista));
        while (q.next()) {
            idsExternos << q.value(0).toString();
        }
    }
    idsExternos.removeDuplicates();
    if (idsExternos.isEmpty()) {
        return;
    }
    borra(idsExternos);
    escritas_ = idsExternos;
    escribeReferencias(idsExternos);
}

void TallasDelBloque::escribeReferencias(const QStringList& idsExternos) {
    const QHash<QString, QString> textos = textosDeReferencias(host_, idsExternos);
    const QString inserta = QStringLiteral(
        "INSERT INTO partidatallaocolor (IdExterna, Campo1, Campo2, Campo3) VALUES ");
    QString sentencia;
    for (const QString& idExterna : idsExternos) {
        const QString texto = textos.value(idExterna);
        const QString fila =
            QStringLiteral("(%1,%2,%3,%4)")
                .arg(Sentencias::Texto(idExterna), Sentencias::Texto(texto.mid(0, 250)),
                     Sentencias::Texto(texto.mid(250, 250)),
                     Sentencias::Texto(texto.mid(500, 250)));
        // A statement stays well under the smallest packet an old server takes (1 MB).
        if (!sentencia.isEmpty() && (sentencia.size() + fila.size()) * 4 > kBytesPorSentencia) {
            host_.ejecuta(sentencia);
            sentencia.clear();
        }
        sentencia += (sentencia.isEmpty() ? inserta : QStringLiteral(",")) + fila;
    }
    host_.ejecuta(sentencia);
}

void TallasDelBloque::Borra() {
    borra(std::exchange(escritas_, {}));
}

// The rows of exactly those references: rows of other lines, even of the same note, are not
// this run's.
void TallasDelBloque::borra(const QStringList& idsExternos) {
    for (const QString& lista : ListasDeValores::Lotes(literalesDe(idsExternos))) {
        host_.ejecuta(
            QStringLiteral("DELETE FROM partidatallaocolor WHERE IdExterna IN (%1)").arg(lista));
    }
}
