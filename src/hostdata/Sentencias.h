#pragma once

#include <QString>

// The one place where values enter statement text. Texts typed by the user or read from the
// database are escaped the way the server reads them, so a name like O'Brien selects instead of
// breaking the statement; names of databases and tables are quoted as identifiers.
class Sentencias {
public:
    // The text escaped for use between single quotes (the quotes are not added).
    static QString Escapa(const QString& texto);
    // 'texto', escaped.
    static QString Texto(const QString& texto);
    // `nombre`, for a database or table name taken from the settings.
    static QString Nombre(const QString& nombre);
    // The text for a LIKE pattern between single quotes, its "%", "_" and "!" taken literally;
    // the comparison must end with EscapeDePatron().
    static QString Patron(const QString& texto);
    // " ESCAPE '!'": the escape character of Patron.
    static QString EscapeDePatron();
};
