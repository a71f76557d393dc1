#pragma once

#include <QtGlobal>

// The busy pointer of the print routines, shown through the dialog service: the hourglass
// while work runs, the normal arrow after. Each returns the pointer code in force before
// (11 busy, 0 normal).
qint16 PunteroOcupado();
qint16 PunteroNormal();
