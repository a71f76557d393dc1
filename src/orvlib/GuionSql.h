#pragma once

#include <QString>
#include <QStringList>

// The statements of an SQL script: each ends with ";" at the end of a line; lines starting with
// "--" are comments.
QStringList SentenciasDeGuion(const QString& guion);
