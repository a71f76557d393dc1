#pragma once

#include <QString>
#include <stdexcept>

// A request refused before anything was changed: an input out of range, a job another
// workstation is running. The windows show its text as a warning, the command line on
// standard error; it is not an error of the program or the server.
class Rechazo : public std::runtime_error {
public:
    explicit Rechazo(const QString& texto)
        : std::runtime_error(texto.toStdString())
        , texto_(texto) {}

    const QString& texto() const { return texto_; }

private:
    QString texto_;
};
