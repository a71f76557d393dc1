#include "orvlib/Sentencias.h"

QString Sentencias::Escapa(const QString& texto, Motor motor) {
    QString t;
    t.reserve(texto.size() + 8);
    for (QChar c : texto) {
        if (c == QLatin1Char('\'')) {
            t += QLatin1String("''");
        } else if (motor == Motor::MySQL && c == QLatin1Char('\\')) {
            t += QLatin1String("\\\\");
        } else if (motor == Motor::MySQL && c.unicode() == 0) {
            t += QLatin1String("\\0");
        } else {
            t += c;
        }
    }
    return t;
}

QString Sentencias::Texto(const QString& texto, Motor motor) {
    return QLatin1Char('\'') + Escapa(texto, motor) + QLatin1Char('\'');
}

QString Sentencias::Literal(const QVariant& valor, Motor motor) {
    bool numero = false;
    valor.toString().toDouble(&numero);
    if (numero && valor.typeId() != QMetaType::QString) {
        return valor.toString();
    }
    return Texto(valor.toString(), motor);
}

QString Sentencias::Nombre(const QString& nombre, Motor motor) {
    const QChar cita = motor == Motor::MySQL ? QLatin1Char('`') : QLatin1Char('"');
    QString n = nombre;
    return cita + n.replace(cita, QString(2, cita)) + cita;
}

QString Sentencias::Patron(const QString& texto, Motor motor) {
    QString t;
    t.reserve(texto.size() + 4);
    for (QChar c : texto) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!')) {
            t += QLatin1Char('!');
        }
        t += c;
    }
    return Escapa(t, motor);
}

QString Sentencias::EscapeDePatron() {
    return QStringLiteral(" ESCAPE '!'");
}
