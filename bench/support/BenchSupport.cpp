#include "bench/support/BenchSupport.h"

#include <QFile>

#include <cstdio>

namespace {

qint64 statusField(const char *name)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key(name);
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

namespace Bench {

void printFigure(const QString &benchmark, const QString &figure, double value, const QString &unit)
{
    std::printf("%s %s: %s %s\n", qPrintable(benchmark), qPrintable(figure),
                qPrintable(QString::number(value, 'f', value >= 100 ? 0 : 2)), qPrintable(unit));
    std::fflush(stdout);
}

qint64 peakMemoryKiB() { return statusField("VmHWM:"); }
qint64 currentMemoryKiB() { return statusField("VmRSS:"); }

void resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

} // namespace Bench
