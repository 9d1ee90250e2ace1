#include "scan/hostfilesystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillon {

void sortListing(QList<DirEntry> &entries)
{
    // Upper-cased keys are made once per entry, not once per comparison.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.emplace_back(entries[i].name.toUpper(), i);
    std::sort(keys.begin(), keys.end(), [&entries](const auto &a, const auto &b) {
        if (const int c = QString::compare(a.first, b.first, Qt::CaseSensitive); c != 0)
            return c < 0;
        return QString::compare(entries[a.second].name, entries[b.second].name,
                                Qt::CaseSensitive) < 0;
    });
    QList<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto &key : keys)
        sorted.append(std::move(entries[key.second]));
    entries = std::move(sorted);
}

QChar HostFileSystem::separator() const
{
    return QDir::separator();
}

#ifdef Q_OS_UNIX

// On Unix the listing uses readdir's entry type, so a plain folder or file costs no stat call;
// only links and file systems that do not report types are looked at with fstatat.
std::optional<QList<DirEntry>> HostFileSystem::list(const QString &folder) const
{
    const QByteArray encodedFolder = QFile::encodeName(folder);
    DIR *dir = ::opendir(encodedFolder.constData());
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir);

    QList<DirEntry> entries;
    while (const dirent *ent = ::readdir(dir)) {
        const char *name = ent->d_name;
        if (name[0] == '.') // hidden, and "." and ".."
            continue;
        EntryKind kind = EntryKind::Other;
        unsigned char type = ent->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                       : S_ISLNK(st.st_mode) ? DT_LNK
                                             : DT_UNKNOWN;
            }
        }
        if (type == DT_DIR) {
            kind = EntryKind::Folder;
        } else if (type == DT_REG) {
            kind = EntryKind::File;
        } else if (type == DT_LNK) {
            struct stat target;
            if (::fstatat(dirFd, name, &target, 0) == 0) {
                if (S_ISDIR(target.st_mode))
                    kind = EntryKind::FolderLink;
                else if (S_ISREG(target.st_mode))
                    kind = EntryKind::File;
            }
        }
        entries.append(DirEntry{QFile::decodeName(name), kind});
    }
    ::closedir(dir);
    sortListing(entries);
    return entries;
}

std::optional<QByteArray> HostFileSystem::readHead(const QString &path, qint64 maxBytes) const
{
    // O_NONBLOCK: opening a FIFO must never wait for a writer. The type is checked on the open
    // descriptor, so an entry swapped for something else after the listing is still refused.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    const qint64 wanted = std::min<qint64>(maxBytes, st.st_size > 0 ? st.st_size : 4096);
    QByteArray bytes;
    bytes.resize(qsizetype(std::max<qint64>(wanted, 1)));
    qint64 filled = 0;
    bool failed = false;
    while (filled < maxBytes) {
        if (filled == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(maxBytes, bytes.size() * 2)));
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failed = true;
            break;
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    bytes.truncate(qsizetype(filled));
    return bytes;
}

#else

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
            kind = EntryKind::File;
        entries.append(DirEntry{info.fileName(), kind});
    }
    sortListing(entries);
    return entries;
}

std::optional<QByteArray> HostFileSystem::readHead(const QString &path, qint64 maxBytes) const
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

#endif

bool HostFileSystem::isFolder(const QString &path) const
{
    return QFileInfo(path).isDir();
}

} // namespace quillon
