#pragma once

#include <functional>

// The three jobs' benchmarks on a generated store: each prints its time beside its bound and
// returns the program's exit code.

// The cap job's "Aplicar" over a period of series-A notes; the cap is the share of the
// period's total that parte gives for the period's number of notes, so about that share of the
// notes is chosen. Each run starts from the lines as generated, zero tax fields included: the
// lines the repairs can change are kept aside and put back before each run.
int tope(const char* titulo, int dias, int notas, const std::function<double(double)>& parte);
// "&Comprobar" over the notes of one series.
int porcentaje();
// "Aplicar" and "Generar factura"; each run starts from the notes as generated, with no invoice
// and an empty archive.
int factura();
