#pragma once

#include <QString>
#include <QVariant>

// The one place where values and names enter statement text, with the rules of each database
// the program talks to: the store's MySQL or MariaDB server (backslash escapes, which the
// session mode the program sets keeps on) and the auxiliary SQLite file (quotes doubled only).
// Texts typed by the user or read from the database select instead of breaking the statement.
class Sentencias {
public:
    enum class Motor { MySQL, SQLite };

    // The text escaped for use between single quotes (the quotes are not added).
    static QString Escapa(const QString& texto, Motor motor = Motor::MySQL);
    // 'texto', escaped.
    static QString Texto(const QString& texto, Motor motor = Motor::MySQL);
    // A value as a literal: a number as it is, anything else as a quoted text.
    static QString Literal(const QVariant& valor, Motor motor = Motor::MySQL);
    // A database, table or column name quoted as an identifier: `nombre`, or "nombre" for
    // SQLite.
    static QString Nombre(const QString& nombre, Motor motor = Motor::MySQL);
    // The text for a LIKE pattern between single quotes, its "%", "_" and "!" taken literally;
    // the comparison must end with EscapeDePatron().
    static QString Patron(const QString& texto, Motor motor = Motor::MySQL);
    // " ESCAPE '!'": the escape character of Patron.
    static QString EscapeDePatron();
};
