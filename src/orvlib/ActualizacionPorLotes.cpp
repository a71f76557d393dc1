#include "orvlib/ActualizacionPorLotes.h"

#include "orvlib/Conexion.h"

#include <stdexcept>

ActualizacionPorLotes::ActualizacionPorLotes(Conexion& cnn, const QString& tabla,
                                             const QStringList& claves, const QStringList& columnas)
    : cnn_(cnn)
    , tabla_(tabla)
    , claves_(claves)
    , columnas_(columnas) {}

void ActualizacionPorLotes::Agrega(const QStringList& literales) {
    if (literales.size() != claves_.size() + columnas_.size()) {
        throw std::invalid_argument("ActualizacionPorLotes: a row needs every key and column");
    }
    QStringList valores;
    const QStringList nombres = claves_ + columnas_;
    for (qsizetype i = 0; i < literales.size(); ++i) {
        // The first row names the derived table's columns; the others follow its order.
        valores << (filas_.isEmpty()
                        ? literales[i] + QStringLiteral(" AS ") + Sentencias::Nombre(nombres[i])
                        : literales[i]);
    }
    filas_ << QStringLiteral("SELECT ") + valores.join(QLatin1Char(','));
    if (filas_.size() >= kPorLote) {
        escribe();
    }
}

void ActualizacionPorLotes::Termina() {
    if (!filas_.isEmpty()) {
        escribe();
    }
}

void ActualizacionPorLotes::escribe() {
    QStringList enlace;
    for (const QString& c : claves_) {
        enlace << QStringLiteral("t.%1=v.%1").arg(Sentencias::Nombre(c));
    }
    QStringList asignaciones;
    for (const QString& c : columnas_) {
        asignaciones << QStringLiteral("t.%1=v.%1").arg(Sentencias::Nombre(c));
    }
    const QString sentencia =
        QStringLiteral("UPDATE %1 t JOIN (%2) v ON %3 SET %4")
            .arg(Sentencias::Nombre(tabla_), filas_.join(QStringLiteral(" UNION ALL ")),
                 enlace.join(QStringLiteral(" AND ")), asignaciones.join(QLatin1Char(',')));
    filas_.clear();
    cnn_.ejecuta(sentencia);
}
