#pragma once

#include <QObject>

#include <atomic>
#include <functional>

class QThread;

namespace quillon {

// Long work run off the window's thread, in the way of hotspot's parser and KeePassXC's
// AsyncTask: the work runs on a thread of its own, hands what it finds back through queued
// signals, and ends early when asked to stop, by reading a flag. The window shows any job in
// one progress strip with one Stop control, whatever the work is.
class BackgroundJob : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Completed, Stopped };
    Q_ENUM(Outcome)

    explicit BackgroundJob(QObject *parent = nullptr);
    // Asks the work to stop and waits for it to return.
    ~BackgroundJob() override;

    bool isRunning() const { return m_thread != nullptr || m_runningHere; }

    // Asks the running work to stop; finished(Stopped) follows once it has returned. Work that
    // waits on something other than the flag (a network reply) overrides this to wake it too.
    virtual void stop();

Q_SIGNALS:
    void started();
    // How far the work got, for the user: done of total (total 0 when it is not known), and a
    // line that says it in words.
    void progressed(const QString &summary, qint64 done, qint64 total);
    // Emitted after every signal the work emitted, on the window's thread.
    void finished(quillon::BackgroundJob::Outcome outcome);

protected:
    // Runs work on a new thread; it returns false when it stopped early. Only one work runs at
    // a time: a job that is running is not started again.
    bool run(std::function<bool(const std::atomic_bool &stopRequested)> work);
    // For work driven by this thread's event loop instead, which never blocks it: begin() says
    // the job started (false when one runs already), finish() that the work ended; finished
    // follows from the event loop, after whatever the work is doing when it calls finish().
    bool begin();
    void finish(bool completed);

private:
    void end();

    QThread *m_thread = nullptr;
    std::atomic_bool m_stopRequested = false;
    std::atomic_bool m_completed = false;
    bool m_runningHere = false;
    bool m_finishing = false;
};

} // namespace quillon
