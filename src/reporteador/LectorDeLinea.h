#pragma once

#include <QColor>
#include <QStringList>

// Reads one line of a template's source word by word, failing with ErrorDeReporte 20515 that
// names the line.
class LectorDeLinea {
public:
    LectorDeLinea(QStringList palabras, int linea)
        : palabras_(std::move(palabras))
        , linea_(linea) {}

    bool quedan() const { return i_ < palabras_.size(); }
    // The next word in lower case without taking it; empty at the end of the line.
    QString mira() const { return quedan() ? palabras_[i_].toLower() : QString(); }
    int linea() const { return linea_; }
    QString palabra();
    double numero();
    // A number from minimo to maximo.
    double numero(double minimo, double maximo, const char* que);
    QColor color();
    [[noreturn]] void falla(const QString& texto) const;

private:
    QStringList palabras_;
    qsizetype i_ = 0;
    int linea_;
};
