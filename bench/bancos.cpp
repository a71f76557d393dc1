// Benchmarks of the three jobs and of printing on a generated store, against the private
// MariaDB (scripts/mariadb start; eval "$(scripts/mariadb env)"). Each job prints its time and
// the ratio to its bound: the time the same server takes to copy the same notes and lines with
// one INSERT … SELECT each. The job and its bound run in turns, five rounds; the times are the
// medians, the ratio the median of the rounds' ratios.
//
//   bancos tope        30 days × 1,000 notes × 5 lines, cap of a quarter of the period
//   bancos anual       365 days × 400 notes × 5 lines, a cap that chooses about 20,000 notes
//   bancos porcentaje  "&Comprobar" over the 10,000 notes of one series
//   bancos factura     "Aplicar" + "Generar factura" over 10,000 notes
//   bancos impresion   200 notes printed three times to a PDF per note and three times to one
//                      PDF for the run: each mode's median run's notes per second, its ratio to
//                      its floor (Qt's PDF writer painting the same pages with no reads) and
//                      its time by step
//
// The cap benchmarks also print the processor time of the program and of the server, and a
// fingerprint of what the run left for comparing two builds.

#include "BancoDeImpresion.h"
#include "BancosDeTrabajos.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString cual = app.arguments().value(1);
    if (cual == QLatin1String("tope")) {
        return tope("tope (30 días × 1,000 remisiones × 5 partidas)", 30, 1000,
                    [](double) { return 0.25; });
    }
    if (cual == QLatin1String("anual")) {
        return tope("tope anual (365 días × 400 remisiones × 5 partidas, 20,000 elegidas)", 365,
                    400, [](double notas) { return 20000 / notas; });
    }
    if (cual == QLatin1String("porcentaje")) {
        return porcentaje();
    }
    if (cual == QLatin1String("factura")) {
        return factura();
    }
    if (cual == QLatin1String("impresion")) {
        return impresion();
    }
    std::fprintf(stderr, "uso: bancos tope|anual|porcentaje|factura|impresion\n");
    return 2;
}
