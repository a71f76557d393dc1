#include "servicios/DialogosConsola.h"

#include <cstdio>

namespace {

void escribe(const QString& titulo, QString texto) {
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(texto));
}

} // namespace

void DialogosConsola::mensaje(const QString& texto, const QString& titulo, Icono icono) {
    Q_UNUSED(icono);
    escribe(titulo, texto);
}

bool DialogosConsola::pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) {
    Q_UNUSED(noPorDefecto);
    escribe(titulo, texto + QStringLiteral(" [No]"));
    return false;
}
