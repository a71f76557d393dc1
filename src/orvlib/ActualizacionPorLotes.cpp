#include "orvlib/ActualizacionPorLotes.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"

#include <stdexcept>

namespace {

QStringList nombres(const QStringList& columnas) {
    QStringList n;
    for (const QString& c : columnas) {
        n << Sentencias::Nombre(c);
    }
    return n;
}

} // namespace

ActualizacionPorLotes::ActualizacionPorLotes(Conexion& cnn, const QString& tabla,
                                             const QStringList& claves, const QStringList& columnas)
    : cnn_(cnn)
    , tabla_(tabla)
    , temporal_(tabla + QStringLiteral("_lote"))
    , claves_(claves)
    , columnas_(columnas) {
    cnn_.ejecuta(QStringLiteral("DROP TABLE IF EXISTS ") + Sentencias::Nombre(temporal_));
    cnn_.ejecuta(QStringLiteral("CREATE TABLE %1 SELECT %2 FROM %3 LIMIT 0")
                     .arg(Sentencias::Nombre(temporal_),
                          nombres(claves_ + columnas_).join(QLatin1Char(',')),
                          Sentencias::Nombre(tabla_)));
}

ActualizacionPorLotes::~ActualizacionPorLotes() {
    try {
        cnn_.ejecuta(QStringLiteral("DROP TABLE IF EXISTS ") + Sentencias::Nombre(temporal_));
    } catch (const ErrorOrvlib&) {
        // A lost connection leaves it; the next batch over the same table drops it first.
    }
}

void ActualizacionPorLotes::Agrega(const QStringList& literales) {
    if (literales.size() != claves_.size() + columnas_.size()) {
        throw std::invalid_argument("ActualizacionPorLotes: a row needs every key and column");
    }
    filas_ << QLatin1Char('(') + literales.join(QLatin1Char(',')) + QLatin1Char(')');
    if (filas_.size() >= kPorLote) {
        inserta();
    }
}

void ActualizacionPorLotes::inserta() {
    cnn_.ejecuta(QStringLiteral("INSERT INTO %1 VALUES %2")
                     .arg(Sentencias::Nombre(temporal_), filas_.join(QLatin1Char(','))));
    filas_.clear();
}

void ActualizacionPorLotes::Termina() {
    if (!filas_.isEmpty()) {
        inserta();
    }
    QStringList enlace;
    for (const QString& c : nombres(claves_)) {
        enlace << QStringLiteral("t.%1=v.%1").arg(c);
    }
    QStringList asignaciones;
    for (const QString& c : nombres(columnas_)) {
        asignaciones << QStringLiteral("t.%1=v.%1").arg(c);
    }
    cnn_.ejecuta(QStringLiteral("UPDATE %1 t JOIN %2 v ON %3 SET %4")
                     .arg(Sentencias::Nombre(tabla_), Sentencias::Nombre(temporal_),
                          enlace.join(QStringLiteral(" AND ")),
                          asignaciones.join(QLatin1Char(','))));
}
