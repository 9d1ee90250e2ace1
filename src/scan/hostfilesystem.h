#pragma once

#include "scan/filenamecodec.h"
#include "scan/filesystem.h"
#include "scan/listingorder.h"

namespace quillon {

// The real disk. Listings are sorted by upper-cased name, ties broken by the name itself, so
// that the order never depends on how the operating system happens to return entries.
// Hidden entries are left out: names starting with "." on Unix, the hidden and system
// attributes on Windows.
class HostFileSystem final : public FileSystem {
public:
    // Reads in flight at once, when the walk is given no other number. Local disks gain little
    // from more; shares and FUSE mounts, where every call waits a round trip, gain up to this.
    static constexpr int DefaultConcurrency = 16;

    explicit HostFileSystem(int concurrency = DefaultConcurrency);

    QChar separator() const override;
    std::optional<QList<DirEntry>> list(const QString &folder) const override;
    std::unique_ptr<OpenFolder> openFolder(const QString &folder) const override;
    std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const override;
    bool isFolder(const QString &path) const override;
    int concurrency() const override { return m_concurrency; }

private:
    int m_concurrency;
};

} // namespace quillon
