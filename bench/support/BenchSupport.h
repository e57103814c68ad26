#pragma once

#include <QString>

// Benchmarks print every figure as one line "<benchmark> <figure>: <value> <unit>".
namespace Bench {

void printFigure(const QString &benchmark, const QString &figure, double value, const QString &unit);

// Peak resident memory of this process in KiB since the last resetPeakMemory().
qint64 peakMemoryKiB();
// Current resident memory in KiB.
qint64 currentMemoryKiB();
// Starts a new peak measurement (Linux: clears the high-water mark).
void resetPeakMemory();

} // namespace Bench
