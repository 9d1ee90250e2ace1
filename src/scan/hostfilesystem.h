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
    QChar separator() const override;
    std::optional<QList<DirEntry>> list(const QString &folder) const override;
    std::unique_ptr<OpenFolder> openFolder(const QString &folder) const override;
    std::optional<QByteArray> readHead(const QString &path, qint64 maxBytes) const override;
    bool isFolder(const QString &path) const override;
};

} // namespace quillon
