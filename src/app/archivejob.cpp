#include "app/archivejob.h"

namespace quillon {

ArchiveJob::ArchiveJob(const LinkCheckSettings &settings, QObject *parent)
    : BackgroundJob(parent)
    , m_lookup(settings)
{
    setObjectName(QStringLiteral("archiveJob"));
    connect(&m_lookup, &ArchiveLookup::answered, this, &ArchiveJob::answered);
    connect(&m_lookup, &ArchiveLookup::progress, this, [this](int asked, int total) {
        Q_EMIT progressed(tr("%1 of %2 archive queries answered").arg(asked).arg(total), asked,
                          total);
    });
    connect(&m_lookup, &ArchiveLookup::finished, this, [this] { finish(!m_stopping); });
}

bool ArchiveJob::start(const QList<ArchiveQuery> &queries)
{
    if (!begin())
        return false;
    m_stopping = false;
    m_lookup.start(queries);
    return true;
}

void ArchiveJob::stop()
{
    if (!isRunning())
        return;
    m_stopping = true;
    m_lookup.stop();
}

} // namespace quillon
