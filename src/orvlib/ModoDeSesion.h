#pragma once

#include <QString>

// The server mode every connection of the program sets when it opens, so that a server's global
// mode cannot change what a statement means. Statements are written for MySQL 5.5 with its
// default (lax) mode; on top of that:
// - NO_AUTO_VALUE_ON_ZERO: rows copied whole keep an Id of 0 instead of getting a new one;
// - NO_ENGINE_SUBSTITUTION: a table is never made silently with another engine.
// Left out on purpose: ANSI_QUOTES and NO_BACKSLASH_ESCAPES (they change how texts are quoted);
// the strict modes and NO_ZERO_DATE (host tables made under a lax mode may have NOT NULL columns
// without a default that our inserts leave out, and old rows may hold zero dates that a copy
// must keep); ONLY_FULL_GROUP_BY (every column the program's grouped statements read is grouped
// or aggregated, so it would only add a way to fail, stricter on 5.5 than on later servers).
class ModoDeSesion {
public:
    static QString Modo() { return QStringLiteral("NO_AUTO_VALUE_ON_ZERO,NO_ENGINE_SUBSTITUTION"); }
    static QString Sentencia() { return QStringLiteral("SET SESSION sql_mode='") + Modo() + '\''; }
};
