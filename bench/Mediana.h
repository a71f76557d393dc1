#pragma once

#include <functional>
#include <vector>

// Each measure is taken kVeces and the median kept: the machine is shared, and neither the
// fastest nor the slowest run says what a store will see.
constexpr int kVeces = 3;

double medianaDe(std::vector<double> valores);
// The median time of kVeces runs of medir, each after preparar, which is not timed.
double mediana(const std::function<void()>& preparar, const std::function<void()>& medir);
