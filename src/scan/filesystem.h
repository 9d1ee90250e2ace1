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
    File,       // a regular file, or a link to one: may be opened
    Other       // FIFO, socket, device, dangling link: never opened
};

struct DirEntry {
    QString name;
    EntryKind kind = EntryKind::Other;
};

class FileSystem;

// A listed folder, held open while the walk deals with its entries, so that its files can be
// read without looking up their whole path again.
class OpenFolder {
public:
    OpenFolder(const FileSystem &fs, QString path, QList<DirEntry> entries);
    virtual ~OpenFolder() = default;
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    QList<DirEntry> &entries() { return m_entries; }

    // Up to maxBytes from the start of the entry called name, as FileSystem::readHead reads
    // the folder's path followed by name.
    virtual std::optional<QByteArray> readHead(QStringView name, qint64 maxBytes);

private:
    const FileSystem &m_fs;
    QString m_path; // ends in the separator
    QList<DirEntry> m_entries;
    QString m_filePath; // one buffer for the paths of all files read
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

    // The folder listed (as list() lists it) and kept open for reading its files. Null when the
    // folder cannot be listed. The folder stays open until the result is destroyed.
    virtual std::unique_ptr<OpenFolder> openFolder(const QString &folder) const;

    // Up to maxBytes from the start of a regular file. Empty optional when the path is not a
    // regular file (or a link to one) or cannot be opened or read.
    virtual std::optional<QByteArray> readHead(const QString &path, qint64 maxBytes) const = 0;

    // True when the path names a folder that exists (links to folders included).
    virtual bool isFolder(const QString &path) const = 0;
};

} // namespace quillon
