#pragma once

#include "scan/favoriteswalk.h"

#include <QString>

#include <functional>
#include <vector>

namespace quillon {
class LinkTable;
}

namespace quillon::bench {

struct Timing {
    double wallMs = 0;
    // The process's processor time, all threads: steadier than wall time on a busy machine,
    // and it counts the work of a walk's helper threads too.
    double cpuMs = 0;
};

Timing timeOf(const std::function<void()> &work);

double median(std::vector<double> values);
Timing median(const std::vector<Timing> &timings);

// The walk as the window and the exporter run it: host file system into the given table.
WalkResult coreWalk(const QString &root, LinkTable &table);

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 where there is none.
qint64 statusBytes(const char *field);

} // namespace quillon::bench
