#pragma once

#include <functional>
#include <vector>

// Each measure is taken kVeces and the median kept: the machine is shared, and neither the
// fastest nor the slowest run says what a store will see.
constexpr int kVeces = 3;

double medianaDe(std::vector<double> valores);
// The time medir takes, in seconds.
double segundosDe(const std::function<void()>& medir);
// The median time of kVeces runs of medir, each after preparar, which is not timed.
double mediana(const std::function<void()>& preparar, const std::function<void()>& medir);

// A job and its bound timed in turns, kRondas rounds, so that what the machine and the server
// are doing at the time (flushing, purging) weighs on both alike.
constexpr int kRondas = 5;
struct EnTurnos {
    double segundos = 0; // the job's median time
    double cota = 0;     // the bound's median time
    double razon = 0;    // the median of the rounds' ratios
};
// Each round: preparar (not timed), medir timed, then cota, which times itself.
EnTurnos enTurnos(const std::function<void()>& preparar, const std::function<void()>& medir,
                  const std::function<double()>& cota);
