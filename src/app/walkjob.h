#pragma once

#include "app/backgroundjob.h"
#include "links/linktable.h"

#include <vector>

namespace quillon {

class FileSystem;

// Generate's walk as a background job: rows made by the link rules reach the window in batches,
// a few times a second, in walk order.
class WalkJob : public BackgroundJob {
    Q_OBJECT
public:
    explicit WalkJob(const FileSystem &fs, QObject *parent = nullptr);

    // Walks the tree below startFolder; folder names lose its first prefixLength characters.
    bool start(const QString &startFolder, qsizetype prefixLength);

Q_SIGNALS:
    void rowsFound(const std::vector<quillon::LinkRecord> &rows);

private:
    const FileSystem &m_fs;
};

} // namespace quillon
