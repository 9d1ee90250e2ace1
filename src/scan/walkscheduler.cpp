#include "scan/walkscheduler.h"

#include "scan/walktiming.h"

#include <algorithm>
#include <ctime>

namespace quillon {

using namespace walktiming;

namespace {

// The processor time of the calling thread, where the system tells it; else 0, and all of a
// task's time counts as waiting.
qint64 threadProcessorNs()
{
#ifdef Q_OS_UNIX
    timespec now{};
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0)
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
#endif
    return 0;
}

} // namespace

TaskClock::TaskClock()
    : m_processorAtStart(threadProcessorNs())
{
    m_clock.start();
}

qint64 TaskClock::waitedNs() const
{
    return std::max<qint64>(elapsedNs() - (threadProcessorNs() - m_processorAtStart), 0);
}

WalkScheduler::WalkScheduler(int concurrency)
    : m_concurrency(std::max(concurrency, 1))
{
    if (m_concurrency > 1)
        m_pool.emplace(m_concurrency);
}

WalkScheduler::~WalkScheduler()
{
    drain();
}

void WalkScheduler::run(std::function<void()> task)
{
    ++m_inFlight;
    if (m_pool && !m_fastReads)
        m_pool->start(std::move(task));
    else
        task();
}

void WalkScheduler::finished(const TaskReport &report)
{
    {
        const std::lock_guard lock(m_mutex);
        m_reports.push_back(report);
    }
    m_reportReady.notify_one();
}

bool WalkScheduler::takeFinished(std::vector<TaskReport> &reports,
                                 const std::function<bool()> &whileWaiting)
{
    reports.clear();
    {
        std::unique_lock lock(m_mutex);
        while (m_reports.empty() && m_inFlight > 0) {
            if (m_reportReady.wait_for(lock, ReportWhileWaiting) == std::cv_status::timeout &&
                m_reports.empty()) {
                lock.unlock();
                if (!whileWaiting())
                    return false;
                lock.lock();
            }
        }
        reports.swap(m_reports);
    }
    m_inFlight -= int(reports.size());
    for (const TaskReport &report : reports)
        learnFrom(report);
    return true;
}

void WalkScheduler::drain()
{
    std::unique_lock lock(m_mutex);
    while (m_inFlight > 0) {
        m_reportReady.wait(lock, [this] { return !m_reports.empty(); });
        m_inFlight -= int(m_reports.size());
        m_reports.clear();
    }
}

void WalkScheduler::learnFrom(const TaskReport &report)
{
    if (report.count < 0) {
        noteWait(report.waitedNs); // a listing waits about as long as a read
    } else if (report.count > 0) {
        const qint64 perRead = std::max<qint64>(report.elapsedNs / report.count, 1);
        m_readsPerTask = std::clamp<qsizetype>(TaskTargetNs / perRead, 1, MaxReadsPerTask);
        noteWait(report.waitedNs / report.count);
    }
}

void WalkScheduler::noteWait(qint64 waitedNs)
{
    m_waitPerRead = m_waitPerRead < 0 ? waitedNs : (3 * m_waitPerRead + waitedNs) / 4;
    m_fastReads = m_waitPerRead < ThreadsFromWaitNs;
}

} // namespace quillon
