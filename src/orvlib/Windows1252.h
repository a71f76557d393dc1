#pragma once

#include <QByteArray>
#include <QString>

// Text conversion for the Windows-1252 files the stores already have (ini, lists, placement
// records); Qt's own converters know Latin-1 but not the 0x80-0x9F range of this code page.
class Windows1252 {
public:
    static QString decodifica(const QByteArray& bytes);
    // Characters the code page lacks become '?', as Windows writes them.
    static QByteArray codifica(const QString& texto);
};
