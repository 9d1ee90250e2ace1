#pragma once

#include "app/backgroundjob.h"
#include "check/archivelookup.h"

namespace quillon {

// The archive's queries for dead links as a background job, in the strip with its Stop like
// the check, and on the window's thread for the same reason: the lookup never blocks.
class ArchiveJob : public BackgroundJob {
    Q_OBJECT
public:
    explicit ArchiveJob(const LinkCheckSettings &settings, QObject *parent = nullptr);

    // Asks for the copy of each query's address nearest its date; false while a job runs.
    bool start(const QList<ArchiveQuery> &queries);
    void stop() override;

Q_SIGNALS:
    // A query's row (as given in its ArchiveQuery) and what the archive said.
    void answered(int row, const quillon::ArchiveAnswer &answer);

private:
    ArchiveLookup m_lookup;
    bool m_stopping = false;
};

} // namespace quillon
