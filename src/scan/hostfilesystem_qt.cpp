// The host file system where POSIX is not at hand: Qt's own file classes.

#include "scan/hostfilesystem.h"

#include "scan/listingorder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace quillon {

HostFileSystem::HostFileSystem(int concurrency)
    : m_concurrency(std::max(concurrency, 1))
{}

QChar HostFileSystem::separator() const
{
    return QDir::separator();
}

std::optional<QList<DirEntry>> HostFileSystem::list(const QString &folder) const
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    // Without QDir::Hidden and QDir::System, hidden and system entries are left out.
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot);
    QList<DirEntry> entries;
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        EntryKind kind = EntryKind::Other;
        const bool isLink = info.isSymLink() || info.isJunction();
        if (info.isDir())
            kind = isLink ? EntryKind::FolderLink : EntryKind::Folder;
        else if (info.isFile())
            kind = isLink ? EntryKind::FileLink : EntryKind::File;
        entries.append(DirEntry{info.fileName(), kind});
    }
    sortListing(entries);
    return entries;
}

std::unique_ptr<OpenFolder> HostFileSystem::openFolder(const QString &folder) const
{
    return FileSystem::openFolder(folder);
}

std::optional<FileHead> HostFileSystem::readFile(const QString &path, qint64 maxBytes) const
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return FileHead{bytes, info.lastModified().toSecsSinceEpoch()};
}

bool HostFileSystem::isFolder(const QString &path) const
{
    return QFileInfo(path).isDir();
}

} // namespace quillon
