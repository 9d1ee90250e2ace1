#include "app/linkcheckjob.h"

namespace quillon {

LinkCheckJob::LinkCheckJob(const LinkCheckSettings &settings, QObject *parent)
    : BackgroundJob(parent)
    , m_checker(settings)
{
    setObjectName(QStringLiteral("linkCheckJob"));
    connect(&m_checker, &LinkChecker::resultReady, this,
            [this](int index, const LinkCheckResult &result) {
                if (index >= 0 && index < m_rows.size())
                    Q_EMIT resultFound(m_rows.at(index), result);
            });
    connect(&m_checker, &LinkChecker::progress, this, [this](int checked, int total, int dead) {
        m_checked = checked;
        m_total = total;
        m_dead = dead;
        Q_EMIT progressed(
            tr("%1 of %2 addresses checked, %3 dead").arg(checked).arg(total).arg(dead), checked,
            total);
    });
    connect(&m_checker, &LinkChecker::finished, this, [this](bool unreachable) {
        m_unreachable = unreachable;
        finish(!m_stopping);
    });
}

bool LinkCheckJob::start(const QList<int> &rows, const QStringList &addresses)
{
    if (rows.size() != addresses.size() || !begin())
        return false;
    m_rows = rows;
    m_checked = m_total = m_dead = 0;
    m_stopping = m_unreachable = false;
    m_checker.start(addresses);
    return true;
}

void LinkCheckJob::stop()
{
    if (!isRunning())
        return;
    m_stopping = true;
    m_checker.stop();
}

} // namespace quillon
