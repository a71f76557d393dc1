#pragma once

#include <QString>
#include <stdexcept>

// An error of the report engine, with the engine's error number: 20506 a table it cannot read,
// 20510 a formula it cannot take, 20527 a data source or server it cannot reach, 20515 a
// template or selection it cannot understand, 20599 an output it cannot produce.
class ErrorDeReporte : public std::runtime_error {
public:
    ErrorDeReporte(int numero, const QString& texto)
        : std::runtime_error(texto.toStdString())
        , numero_(numero)
        , texto_(texto) {}

    int numero() const { return numero_; }
    const QString& texto() const { return texto_; }

    static constexpr int kTabla = 20506;
    static constexpr int kFormula = 20510;
    static constexpr int kPlantilla = 20515;
    static constexpr int kServidor = 20527;
    static constexpr int kSalida = 20599;

private:
    int numero_;
    QString texto_;
};
