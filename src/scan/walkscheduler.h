#pragma once

#include "scan/taskpool.h"

#include <QElapsedTimer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace quillon {

struct WalkFolder;

// What a task of the walk tells when it is done.
struct TaskReport {
    WalkFolder *folder = nullptr;
    qsizetype first = 0; // reads first..first+count done; count < 0: the listing is done
    qsizetype count = -1;
    qint64 elapsedNs = 0;
    qint64 waitedNs = 0; // of elapsedNs, the time not spent on a processor
};

// How long a task took, and how much of that it waited for the file system rather than ran.
class TaskClock {
public:
    TaskClock();
    qint64 elapsedNs() const { return m_clock.nsecsElapsed(); }
    qint64 waitedNs() const;

private:
    QElapsedTimer m_clock;
    qint64 m_processorAtStart;
};

// Runs the walk's tasks: on a pool of threads while they wait for the file system, on the
// calling thread while they do not (memory, a warm local disk: there threads only add hand-over
// costs, see walktiming.h), and hands their reports back to the calling thread. It learns from
// the reports how many reads to put in one task. Only the calling thread uses it, but for
// finished(), which tasks call.
class WalkScheduler {
public:
    explicit WalkScheduler(int concurrency);
    ~WalkScheduler();

    int concurrency() const { return m_concurrency; }
    qsizetype readsPerTask() const { return m_readsPerTask; }

    void run(std::function<void()> task);
    void finished(const TaskReport &report);

    // The reports of the tasks that finished, waiting for one if none has and any runs.
    // Meanwhile whileWaiting is called every ReportWhileWaiting; when it returns false, so does
    // this, and the walk is to stop.
    bool takeFinished(std::vector<TaskReport> &reports, const std::function<bool()> &whileWaiting);

    // Waits for every task still running, and drops their reports.
    void drain();

private:
    void learnFrom(const TaskReport &report);
    void noteWait(qint64 waitedNs);

    const int m_concurrency;
    int m_inFlight = 0;
    qsizetype m_readsPerTask = 1;
    qint64 m_waitPerRead = -1; // a running mean; -1 until reads are done
    // The last tasks hardly waited: tasks run on this thread. The walk starts so: the start
    // folder's listing is measured without the walk's own threads competing for processors.
    bool m_fastReads = true;

    std::mutex m_mutex;
    std::condition_variable m_reportReady;
    std::vector<TaskReport> m_reports;

    // Last, so that it is destroyed first: its threads finish before what they use goes away.
    std::optional<TaskPool> m_pool;
};

} // namespace quillon
