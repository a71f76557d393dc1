#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class Conexion;

// The store's currencies as a print run uses them, read once for the run: each one's name and
// abbreviation by Id, and the exchange rates of the first ten by Id for the Paridades row.
class MonedasDeLaCorrida {
public:
    struct Moneda {
        QString nombre;
        QString abreviacion;
    };
    using Paridades = QList<QPair<QString, QVariant>>;

    explicit MonedasDeLaCorrida(Conexion& host);

    // Empty texts when the store has no currency of that Id.
    Moneda De(qint32 id) const { return monedas_.value(id); }
    const Paridades& ParidadesDeLaTienda() const { return paridades_; }

    // The exchange rates of the first ten currencies by Id, as Paridad1 … Paridad10.
    static Paridades Lee(Conexion& host);

private:
    QHash<qint32, Moneda> monedas_;
    Paridades paridades_;
};
