#pragma once

#include <QString>
#include <QStringList>

// What a statement uses that MySQL 5.5 does not accept: window functions, common table
// expressions, RETURNING, JSON functions, LATERAL, CREATE OR REPLACE, EXCEPT and INTERSECT,
// MySQL 8.0's collations, and a few other later or MariaDB-only forms. Quoted texts and names
// are not looked at, so a value that spells a keyword is not taken for one.
class Dialecto55 {
public:
    // The names of the forms found; empty for a statement MySQL 5.5 reads.
    static QStringList Ajeno(const QString& sentencia);
};

// A statement of a server's general log: who sent it and its text.
struct SentenciaDelRegistro {
    int conexion = 0;
    QString texto;
};

// The statements (Query, Prepare and Execute entries) of a MariaDB general log file's text,
// each with its continuation lines.
QVector<SentenciaDelRegistro> SentenciasDelRegistro(const QString& registro);
