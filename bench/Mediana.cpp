#include "Mediana.h"

#include <QElapsedTimer>
#include <algorithm>

double medianaDe(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

double segundosDe(const std::function<void()>& medir) {
    QElapsedTimer reloj;
    reloj.start();
    medir();
    return reloj.nsecsElapsed() / 1e9;
}

double mediana(const std::function<void()>& preparar, const std::function<void()>& medir) {
    std::vector<double> tiempos;
    for (int i = 0; i < kVeces; ++i) {
        preparar();
        tiempos.push_back(segundosDe(medir));
    }
    return medianaDe(tiempos);
}

EnTurnos enTurnos(const std::function<void()>& preparar, const std::function<void()>& medir,
                  const std::function<double()>& cota) {
    std::vector<double> tiempos;
    std::vector<double> cotas;
    std::vector<double> razones;
    for (int i = 0; i < kRondas; ++i) {
        preparar();
        tiempos.push_back(segundosDe(medir));
        cotas.push_back(cota());
        razones.push_back(tiempos.back() / cotas.back());
    }
    return {medianaDe(tiempos), medianaDe(cotas), medianaDe(razones)};
}
