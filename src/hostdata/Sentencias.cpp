#include "hostdata/Sentencias.h"

QString Sentencias::Escapa(const QString& texto) {
    QString t;
    t.reserve(texto.size() + 8);
    for (QChar c : texto) {
        switch (c.unicode()) {
        case '\'':
            t += QLatin1String("''");
            break;
        case '\\':
            t += QLatin1String("\\\\");
            break;
        case 0:
            t += QLatin1String("\\0");
            break;
        default:
            t += c;
        }
    }
    return t;
}

QString Sentencias::Texto(const QString& texto) {
    return QLatin1Char('\'') + Escapa(texto) + QLatin1Char('\'');
}

QString Sentencias::Nombre(const QString& nombre) {
    QString n = nombre;
    return QLatin1Char('`') + n.replace(QLatin1Char('`'), QLatin1String("``")) + QLatin1Char('`');
}

QString Sentencias::Patron(const QString& texto) {
    QString t;
    t.reserve(texto.size() + 4);
    for (QChar c : texto) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!')) {
            t += QLatin1Char('!');
        }
        t += c;
    }
    return Escapa(t);
}

QString Sentencias::EscapeDePatron() {
    return QStringLiteral(" ESCAPE '!'");
}
