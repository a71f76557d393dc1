#pragma once

#include <QList>
#include <QStringList>

// Values for IN (…) lists, split so that no statement grows with the number of values: a list
// of a few thousand values stays far below the smallest max_allowed_packet a store's server may
// have (1 MB, MySQL 5.5's default), whatever the number of values.
class ListasDeValores {
public:
    static constexpr int kPorSentencia = 5000;

    // The values in slices of at most kPorSentencia, in order; none for no values.
    static QList<QStringList> Porciones(const QStringList& valores);
    // The values joined by commas, at most kPorSentencia in each list; none for no values.
    static QStringList Lotes(const QStringList& valores);
    static QStringList Lotes(const QList<qint32>& ids);
};
