#pragma once

#include <QHash>
#include <QString>
#include <QVariantList>

class Conexion;

// The most characters each text column of a host table takes, as the server's own catalogue
// gives them, so a text too long is refused before it is written instead of cut short.
class LargosDeColumnas {
public:
    // The table of the connection's database.
    LargosDeColumnas(Conexion& cnn, const QString& tabla);

    // 0 for a column without a limit or not a text.
    int Largo(const QString& columna) const;
    // Refuses (Rechazo) the first text longer than its column takes, naming the column and its
    // limit; values and columns go in the same order.
    void Verifica(const QStringList& columnas, const QVariantList& valores) const;
    void Verifica(const QString& columna, const QString& valor) const;

private:
    QString tabla_;
    QHash<QString, int> largos_; // by column name in lower case
};
