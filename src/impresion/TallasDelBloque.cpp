#include "impresion/TallasDelBloque.h"

#include "orvlib/Conexion.h"
#include "orvlib/ListasDeValores.h"
#include "orvlib/Sentencias.h"
#include "orvlib/libKwtm.h"
#include "tienda/Importe.h"

#include <QHash>
#include <QSqlQuery>
#include <exception>
#include <utility>

namespace {

// A reference as the server compares it: without trailing spaces and without regard to case.
QString comoLaCompara(QString texto) {
    while (texto.endsWith(QLatin1Char(' '))) {
        texto.chop(1);
    }
    return texto.toCaseFolded();
}

// Each reference of a line with its quantity, "T-CH-2/T-M-1", in Referencia order.
QHash<QString, QString> textosDeReferencias(Conexion& host, const QStringList& idsExternos) {
    QStringList literales;
    for (const QString& id : idsExternos) {
        literales << Sentencias::Texto(id);
    }
    literales.removeDuplicates();
    QHash<QString, QString> textos;
    for (const QString& lista : ListasDeValores::Lotes(literales)) {
        QSqlQuery q = host.consulta(
            QStringLiteral("SELECT Id, Referencia, Cantidad FROM referenciaexterna WHERE Id IN "
                           "(%1) ORDER BY Id, Referencia")
                .arg(lista));
        while (q.next()) {
            Importe cantidad = Importe::DeVariant(q.value(2));
            if (cantidad < Importe()) {
                cantidad = Importe() - cantidad;
            }
            QString& texto = textos[comoLaCompara(q.value(0).toString())];
            texto += (texto.isEmpty() ? QString() : QStringLiteral("/")) + q.value(1).toString() +
                     QLatin1Char('-') + cantidad.TextoSql();
        }
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

void TallasDelBloque::Escribe(const QString& tablaDetalle, const QList<qint32>& ids) {
    QList<QPair<qint32, QString>> lineas;
    for (const QString& lista : ListasDeValores::Lotes(ids)) {
        QSqlQuery q = host_.consulta(QStringLiteral("SELECT Id, IdExterna FROM %1 WHERE Id IN "
                                                    "(%2) AND IdExterna<>'' ORDER BY Id, Partida")
                                         .arg(Sentencias::Nombre(tablaDetalle), lista));
        while (q.next()) {
            lineas.append({q.value(0).toInt(), q.value(1).toString()});
        }
    }
    if (lineas.isEmpty()) {
        return;
    }
    QStringList prefijos;
    for (const auto& [id, idExterna] : lineas) {
        prefijos << QStringLiteral("RE") +
                        libKwtm::Pad(QString::number(id), 9, QStringLiteral("0"), 2)
                 << idExterna.left(11);
    }
    prefijos.removeDuplicates();
    borra(prefijos);
    prefijos_ = prefijos;
    escribeReferencias(lineas);
}

void TallasDelBloque::escribeReferencias(const QList<QPair<qint32, QString>>& lineas) {
    QStringList idsExternos;
    for (const auto& linea : lineas) {
        idsExternos << linea.second;
    }
    const QHash<QString, QString> textos = textosDeReferencias(host_, idsExternos);
    QStringList filas;
    for (const QString& idExterna : std::as_const(idsExternos)) {
        const QString texto = textos.value(comoLaCompara(idExterna));
        filas << QStringLiteral("(%1,%2,%3,%4)")
                     .arg(Sentencias::Texto(idExterna), Sentencias::Texto(texto.mid(0, 250)),
                          Sentencias::Texto(texto.mid(250, 250)),
                          Sentencias::Texto(texto.mid(500, 250)));
    }
    for (const QString& lote : ListasDeValores::Lotes(filas)) {
        host_.ejecuta(
            QStringLiteral(
                "INSERT INTO partidatallaocolor (IdExterna, Campo1, Campo2, Campo3) VALUES ") +
            lote);
    }
}

void TallasDelBloque::Borra() {
    const QStringList prefijos = std::exchange(prefijos_, {});
    borra(prefijos);
}

void TallasDelBloque::borra(const QStringList& prefijos) {
    QStringList condiciones;
    for (const QString& prefijo : prefijos) {
        condiciones << QStringLiteral("IdExterna LIKE '") + Sentencias::Patron(prefijo) +
                           QStringLiteral("%'") + Sentencias::EscapeDePatron();
    }
    for (qsizetype i = 0; i < condiciones.size(); i += 500) {
        host_.ejecuta(QStringLiteral("DELETE FROM partidatallaocolor WHERE ") +
                      condiciones.mid(i, 500).join(QStringLiteral(" OR ")));
    }
}
