#pragma once

#include <QString>

// The least any program can do against the same simulated unit: blocking
// system calls, no event loop, no window, the pause slept to an absolute
// deadline. Its overhead over the floor is what this machine's wake-ups and
// timers cost at the time, the part of the program's figures that no program
// could remove. Prints its report and returns its wall time (0 on failure).
double referenceExchanges(const QString& device, int baud, int count);
