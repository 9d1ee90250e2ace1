#include "benchsupport.h"

#include "links/linktable.h"
#include "scan/hostfilesystem.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <ctime>

namespace quillon::bench {

namespace {

double processCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

Timing timeOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    const double cpuStart = processCpuMs();
    clock.start();
    work();
    return {double(clock.nsecsElapsed()) / 1e6, processCpuMs() - cpuStart};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Timing median(const std::vector<Timing> &timings)
{
    std::vector<double> wall, cpu;
    for (const Timing &t : timings) {
        wall.push_back(t.wallMs);
        cpu.push_back(t.cpuMs);
    }
    return {median(wall), median(cpu)};
}

WalkResult coreWalk(const QString &root, LinkTable &table)
{
    const HostFileSystem fs;
    const QString start = root + fs.separator();
    return walkFavorites(fs, start, start.size(), table);
}

qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

} // namespace quillon::bench
