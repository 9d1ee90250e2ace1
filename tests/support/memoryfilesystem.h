#pragma once

#include "places/pathsyntax.h"
#include "scan/filesystem.h"

#include <QHash>
#include <QList>

#include <mutex>
#include <optional>

namespace quillon::test {

// A file system held in memory that behaves like a Windows one: drive-letter paths, "\"
// separators, names matched without regard to case, attribute bits, "." and ".." in every
// listing below a drive root, and entries listed in the order they were added.
class MemoryFileSystem final : public FileSystem {
public:
    enum Attribute : unsigned {
        ReadOnly = 1,
        Hidden = 2,
        System = 4,
        Directory = 16,
        Archive = 32,
        ReparsePoint = 1024,
    };

    explicit MemoryFileSystem(QChar separator = u'\\')
        : m_syntax(separator)
    {}

    // Adds a folder and every missing folder above it.
    void addFolder(const QString &path, unsigned attributes = Directory);
    // Adds a file; a file without content cannot be opened.
    void addFile(const QString &path, std::optional<QByteArray> content,
                 unsigned attributes = Archive);
    // Adds an entry that is neither file nor folder (a device, a FIFO, a dangling link).
    void addSpecial(const QString &path);
    // Makes a folder fail to list.
    void makeUnlistable(const QString &path);
    // Removes an entry's content after it was listed, as if the file vanished.
    void removeContent(const QString &path);
    // Gives a file a modification time (Unix seconds); files have none otherwise.
    void setModifiedAt(const QString &path, qint64 seconds);

    int listCount(const QString &path) const;
    int readCount(const QString &path) const;
    int totalReads() const;

    QChar separator() const override { return m_syntax.separator(); }
    std::optional<QList<DirEntry>> list(const QString &folder) const override;
    std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const override;
    bool isFolder(const QString &path) const override;

private:
    struct Node {
        QString name;
        unsigned attributes = 0;
        bool special = false;
        bool unlistable = false;
        std::optional<QByteArray> content;
        std::optional<qint64> modifiedAt;
        QStringList children; // keys, in the order added
    };

    QString normalized(const QString &path) const;
    QString key(const QString &path) const { return normalized(path).toUpper(); }
    Node &addNode(const QString &path, unsigned attributes);

    PathSyntax m_syntax;
    QHash<QString, Node> m_nodes;
    mutable std::mutex m_countMutex; // the walk may list and read on several threads
    mutable QHash<QString, int> m_listCounts;
    mutable QHash<QString, int> m_readCounts;
};

} // namespace quillon::test
