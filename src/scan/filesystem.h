#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace quillon {

// What a listing tells about an entry, without opening it.
enum class EntryKind {
    Folder,     // a real folder: walked
    FolderLink, // a symbolic link, junction or other reparse point to a folder: never followed
    File,       // a regular file: opened without following a link
    FileLink,   // a symbolic link to a regular file: read only when it leads inside the start
    Other       // FIFO, socket, device, dangling link: never opened
};

struct DirEntry {
    QString name;
    EntryKind kind = EntryKind::Other;
};

// The start of a file, and when it was last modified.
struct FileHead {
    QByteArray bytes;
    std::optional<qint64> modifiedAt; // Unix seconds
};

class FileSystem;

// A folder held open, so that its entries are opened relative to it and not by looking up its
// whole path again. Reading files and opening sub-folders may happen on several threads at once
// when the file system's concurrency() allows it.
class OpenFolder {
public:
    virtual ~OpenFolder() = default;
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    // The visible entries, as FileSystem::list lists them. Empty optional when the folder
    // cannot be listed.
    virtual std::optional<QList<DirEntry>> list() const = 0;

    // The entry called name, opened as a folder relative to this one. Null when it is not a real
    // folder (a link to one is refused) or cannot be opened.
    virtual std::unique_ptr<OpenFolder> openFolder(QStringView name) const = 0;

    // Up to maxBytes from the start of entry, a File or FileLink as listed. Empty optional when
    // it is no longer a regular file (then a File that became a link is not followed), when it is
    // a link whose target lies outside the folder FileSystem::openFolder opened this one from,
    // or when it cannot be read. buffer may be a buffer kept from an earlier read: its room is used
    // again.
    virtual std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                             QByteArray &buffer) const = 0;

protected:
    OpenFolder() = default;
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

    // The folder kept open for reading its entries. Null when it cannot be opened. The base
    // implementation names every entry by its whole path, through list() and readFile().
    virtual std::unique_ptr<OpenFolder> openFolder(const QString &folder) const;

    // Up to maxBytes from the start of a regular file, links to one followed. Empty optional
    // when the path is not a regular file or cannot be opened or read.
    virtual std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const = 0;

    // True when the path names a folder that exists (links to folders included).
    virtual bool isFolder(const QString &path) const = 0;

    // How many threads may use this file system and its open folders at once. 1: only the
    // thread that walks, as for test doubles that are not thread-safe.
    virtual int concurrency() const { return 1; }
};

} // namespace quillon
