#include "app/walkjob.h"

#include "links/linkrows.h"
#include "scan/favoriteswalk.h"

#include <QElapsedTimer>

namespace quillon {

namespace {

// Often enough for the grid to look alive, seldom enough that 100,000 rows reach it in a few
// dozen batches rather than thousands.
constexpr qint64 BatchIntervalMs = 100;

// Makes rows on the walk's thread and hands them on in batches.
class BatchingSink final : public ShortcutSink {
public:
    explicit BatchingSink(WalkJob &job)
        : m_job(job)
    {
        m_sinceBatch.start();
    }

    void take(FoundShortcut &&found) override
    {
        m_rows.push_back(m_rowMaker.rowFor(std::move(found)));
        ++m_found;
        if (due())
            handOn();
    }

    void handOn()
    {
        m_sinceBatch.restart();
        m_firstHandedOn = m_firstHandedOn || !m_rows.empty();
        if (!m_rows.empty())
            Q_EMIT m_job.rowsFound(std::exchange(m_rows, {}));
        Q_EMIT m_job.progressed(WalkJob::tr("Links found: %1").arg(m_found), m_found, 0);
    }

    // The first row goes at once, so that the grid shows the walk has found something.
    bool due() const
    {
        return (!m_firstHandedOn && !m_rows.empty()) || m_sinceBatch.elapsed() >= BatchIntervalMs;
    }

private:
    WalkJob &m_job;
    LinkRowMaker m_rowMaker;
    std::vector<LinkRecord> m_rows;
    qint64 m_found = 0;
    bool m_firstHandedOn = false;
    QElapsedTimer m_sinceBatch;
};

} // namespace

WalkJob::WalkJob(const FileSystem &fs, QObject *parent)
    : BackgroundJob(parent)
    , m_fs(fs)
{
    setObjectName(QStringLiteral("walkJob"));
}

bool WalkJob::start(const QString &startFolder, qsizetype prefixLength)
{
    return run([this, startFolder, prefixLength](const std::atomic_bool &stopRequested) {
        BatchingSink sink(*this);
        const WalkResult result =
            walkFavorites(m_fs, startFolder, prefixLength, sink, [&](const WalkProgress &) {
                // A folder without shortcuts still moves the count of folders on.
                if (sink.due())
                    sink.handOn();
                return !stopRequested;
            });
        sink.handOn();
        return !result.stopped;
    });
}

} // namespace quillon
