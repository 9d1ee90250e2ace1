#pragma once

#include "check/checkrequest.h"
#include "check/hostgate.h"
#include "check/linkstatus.h"

#include <QElapsedTimer>
#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace quillon {

// Checks whether addresses still lead to their pages, sending each distinct http: or https:
// address once, politely per host, and reporting every row as its address is decided. Lives
// and works on the thread it was made on, driven by that thread's event loop; nothing blocks.
class LinkChecker : public QObject {
    Q_OBJECT
public:
    explicit LinkChecker(LinkCheckSettings settings = {}, QObject *parent = nullptr);
    ~LinkChecker() override;

    // Checks the rows' addresses (row = index in the list). A check already running is
    // stopped first. Signals start once control is back in the event loop.
    void start(const QStringList &addresses);
    // Aborts every request in flight; the results reported so far stay. finished() follows.
    void stop();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void resultReady(int row, const quillon::LinkCheckResult &result);
    // Distinct checkable addresses decided, of all of them, and how many of those are dead.
    void progress(int checked, int total, int dead);
    // No host answered at all, so host names that were not found do not count as dead.
    void finished(bool networkSeemsUnreachable);

private:
    struct Target {
        QList<int> rows;
        CheckTrace trace;
        bool retried = false;
        bool decided = false;
        HeadFetch *fetch = nullptr;
    };

    void begin(quint64 generation, const QList<int> &skippedRows);
    void pump();
    void launch(int target);
    void fetched(int target);
    bool followRedirect(int target, int code, const QByteArray &location);
    void retryLater(int target, int delayMs);
    void conclude(int target, int httpCode, RequestFailure failure, const QString &text);
    void report(int target, const LinkCheckResult &result);
    void reportHeld();
    void end(bool stopped);

    LinkCheckSettings m_settings;
    QNetworkAccessManager m_manager;
    HostGate m_gate;
    QTimer m_gapTimer;
    QElapsedTimer m_clock;
    std::vector<Target> m_targets;
    QList<int> m_heldTargets; // host not found, waiting to learn whether any host answers
    quint64 m_generation = 0;
    int m_retriesWaiting = 0;
    int m_checked = 0;
    int m_dead = 0;
    bool m_someHostAnswered = false;
    bool m_running = false;
};

} // namespace quillon
