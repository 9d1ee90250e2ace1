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

namespace {

// A folder named by its path below the walk's start; a shortcut that is a link is read only
// when its target lies inside the start, so that no link publishes a file from elsewhere.
class QtOpenFolder final : public OpenFolder {
public:
    QtOpenFolder(const HostFileSystem &fs, QString path, QString start)
        : m_fs(fs)
        , m_path(std::move(path))
        , m_start(std::move(start))
    {
        if (!m_path.endsWith(QDir::separator()))
            m_path += QDir::separator();
    }

    std::optional<QList<DirEntry>> list() const override { return m_fs.list(m_path); }

    std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
    {
        return std::make_unique<QtOpenFolder>(m_fs, m_path + name.toString(), m_start);
    }

    std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                     QByteArray &) const override
    {
        const QString path = m_path + entry.name;
        if (entry.kind == EntryKind::FileLink &&
            (m_start.isEmpty() || !QFileInfo(path).canonicalFilePath().startsWith(m_start)))
            return std::nullopt;
        return m_fs.readFile(path, maxBytes);
    }

private:
    const HostFileSystem &m_fs;
    QString m_path;  // ends in the separator
    QString m_start; // canonical, ends in "/"; empty when it has no canonical path
};

} // namespace

std::unique_ptr<OpenFolder> HostFileSystem::openFolder(const QString &folder) const
{
    QString start = QFileInfo(folder).canonicalFilePath();
    if (!start.isEmpty() && !start.endsWith(u'/'))
        start += u'/';
    return std::make_unique<QtOpenFolder>(*this, folder, std::move(start));
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
