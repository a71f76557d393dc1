#pragma once

#include <QString>

class Conexion;

// Processor time of this process and of the server's, which a shared machine does not
// inflate the way it inflates the elapsed time: what the job costs, not how long it waited.
class TiempoDeCpu {
public:
    explicit TiempoDeCpu(Conexion& cnn)
        : servidor_(QStringLiteral("/proc/%1/stat").arg(pidDelServidor(cnn))) {}

    double cliente() const;
    double servidor() const;

private:
    static QString pidDelServidor(Conexion& cnn);

    QString servidor_;
};
