#include "TiempoDeCpu.h"

#include "orvlib/Conexion.h"

#include <QFile>
#include <QList>
#include <ctime>
#include <unistd.h>

double TiempoDeCpu::cliente() const {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double TiempoDeCpu::servidor() const {
    QFile f(servidor_);
    if (!f.open(QIODevice::ReadOnly)) {
        return 0;
    }
    // Fields 14 and 15, user and system time in clock ticks, after the name in brackets.
    const QByteArray texto = f.readAll();
    const QList<QByteArray> campos = texto.mid(texto.lastIndexOf(')') + 2).split(' ');
    return (campos.value(11).toDouble() + campos.value(12).toDouble()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

QString TiempoDeCpu::pidDelServidor(Conexion& cnn) {
    QFile f(cnn.valor(QStringLiteral("SELECT @@pid_file")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}
