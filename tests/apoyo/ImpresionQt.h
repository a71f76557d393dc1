#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable Qt values in GoogleTest's failure messages.
inline void PrintTo(const QString& texto, std::ostream* salida) {
    *salida << '"' << texto.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* salida) {
    *salida << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QStringList& lista, std::ostream* salida) {
    *salida << '[' << lista.join(QStringLiteral("|")).toStdString() << ']';
}
