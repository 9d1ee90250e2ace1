#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quillon {

// What a listing tells about an entry, without opening it.
enum class EntryKind {
    Folder,     // a real folder: walked
    FolderLink, // a symbolic link, junction or other reparse point to a folder: never followed
    File,       // a regular file, or a link to one: may be opened
    Other       // FIFO, socket, device, dangling link: never opened
};

struct DirEntry {
    QString name;
    EntryKind kind = EntryKind::Other;
};

// The file system as the walk and the reader see it. The host implementation works on the
// real disk; tests substitute one held in memory.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The separator of this file system's paths.
    virtual QChar separator() const = 0;

    // The visible entries of a folder (hidden and system entries left out), in listing order.
    // Empty optional when the folder cannot be listed.
    virtual std::optional<QList<DirEntry>> list(const QString &folder) const = 0;

    // Up to maxBytes from the start of a regular file. Empty optional when the path is not a
    // regular file (or a link to one) or cannot be opened or read.
    virtual std::optional<QByteArray> readHead(const QString &path, qint64 maxBytes) const = 0;

    // True when the path names a folder that exists (links to folders included).
    virtual bool isFolder(const QString &path) const = 0;
};

} // namespace quillon
