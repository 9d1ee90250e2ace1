#pragma once

#include "scan/filesystem.h"

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

// Sorts entries into the listing order used on every platform.
void sortListing(QList<DirEntry> &entries);

// File names on Unix are bytes, not always UTF-8. A name is decoded as UTF-8 with each byte
// that is not part of valid UTF-8 kept as a lone surrogate U+DC80..U+DCFF, and encoded back
// to the very same bytes, so that an entry listed under an odd name opens again. Pages show
// those surrogates as U+FFFD.
QString decodeFileName(QByteArrayView name);
QByteArray encodeFileName(QStringView name);

} // namespace quillon
