#include "app/backgroundjob.h"

#include <QThread>

namespace quillon {

BackgroundJob::BackgroundJob(QObject *parent)
    : QObject(parent)
{}

BackgroundJob::~BackgroundJob()
{
    if (!m_thread)
        return;
    m_stopRequested = true;
    m_thread->wait();
    delete m_thread;
}

void BackgroundJob::stop()
{
    m_stopRequested = true;
}

bool BackgroundJob::run(std::function<bool(const std::atomic_bool &stopRequested)> work)
{
    if (isRunning())
        return false;
    m_stopRequested = false;
    m_completed = false;
    m_thread =
        QThread::create([this, work = std::move(work)] { m_completed = work(m_stopRequested); });
    // The thread's finished signal is queued behind every signal the work emitted, so the
    // window has all of its results when it hears that the job ended.
    connect(m_thread, &QThread::finished, this, &BackgroundJob::end, Qt::QueuedConnection);
    m_thread->start();
    Q_EMIT started();
    return true;
}

bool BackgroundJob::begin()
{
    if (isRunning())
        return false;
    m_runningHere = true;
    m_completed = false;
    Q_EMIT started();
    return true;
}

void BackgroundJob::finish(bool completed)
{
    if (!m_runningHere || std::exchange(m_finishing, true))
        return;
    m_completed = completed;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_runningHere = m_finishing = false;
            Q_EMIT finished(m_completed ? Outcome::Completed : Outcome::Stopped);
        },
        Qt::QueuedConnection);
}

void BackgroundJob::end()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    Q_EMIT finished(m_completed ? Outcome::Completed : Outcome::Stopped);
}

} // namespace quillon
