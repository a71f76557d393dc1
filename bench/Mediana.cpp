#include "Mediana.h"

#include <QElapsedTimer>
#include <algorithm>

double medianaDe(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

double mediana(const std::function<void()>& preparar, const std::function<void()>& medir) {
    std::vector<double> tiempos;
    for (int i = 0; i < kVeces; ++i) {
        preparar();
        QElapsedTimer reloj;
        reloj.start();
        medir();
        tiempos.push_back(reloj.nsecsElapsed() / 1e9);
    }
    return medianaDe(tiempos);
}
