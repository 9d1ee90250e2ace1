#pragma once

#include "app/backgroundjob.h"
#include "check/linkchecker.h"

namespace quillon {

// The link check as a background job, shown in the strip and stopped by Stop like the walk.
// The checker is driven by the window's event loop and never blocks it, so it stays on the
// window's thread: no second event loop, and results reach the grid without crossing threads.
class LinkCheckJob : public BackgroundJob {
    Q_OBJECT
public:
    explicit LinkCheckJob(const LinkCheckSettings &settings, QObject *parent = nullptr);

    // Checks the addresses of these rows (one address per row); false while a job runs.
    bool start(const QList<int> &rows, const QStringList &addresses);
    void stop() override;

    // Of the last check: distinct addresses decided, of all, and dead ones among them.
    int checked() const { return m_checked; }
    int total() const { return m_total; }
    int dead() const { return m_dead; }
    // No host answered the last check, so none of its addresses counts as dead.
    bool networkSeemedUnreachable() const { return m_unreachable; }

Q_SIGNALS:
    void resultFound(int row, const quillon::LinkCheckResult &result);

private:
    LinkChecker m_checker;
    QList<int> m_rows; // the row of each address checked
    int m_checked = 0;
    int m_total = 0;
    int m_dead = 0;
    bool m_stopping = false;
    bool m_unreachable = false;
};

} // namespace quillon
