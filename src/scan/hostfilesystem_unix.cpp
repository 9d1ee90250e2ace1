#include "scan/hostfilesystem.h"

#include "scan/filenamecodec.h"
#include "scan/listingorder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

QChar HostFileSystem::separator() const
{
    return QDir::separator();
}

namespace {

// Opens a path of any length. One longer than the system takes at once (deep trees of long
// names) is opened a folder at a time, each relative to the one before.
int openLongPath(const QByteArray &path, int flags)
{
    const int direct = ::open(path.constData(), flags);
    if (direct >= 0 || errno != ENAMETOOLONG)
        return direct;
    QList<QByteArray> parts = path.split('/');
    parts.removeAll(QByteArray());
    if (parts.isEmpty())
        return -1;
    int dirFd = path.startsWith('/') ? ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : AT_FDCWD;
    for (qsizetype i = 0; dirFd != -1 && i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const int next = ::openat(dirFd, parts[i].constData(),
                                  last ? flags : O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int reason = errno;
        if (dirFd != AT_FDCWD)
            ::close(dirFd);
        errno = reason;
        if (last)
            return next;
        dirFd = next;
    }
    return -1;
}

// Opens a folder for listing; null when it cannot be opened.
DIR *openListing(const QString &folder)
{
    const int folderFd = openLongPath(encodeFileName(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return nullptr;
    DIR *dir = ::fdopendir(folderFd);
    if (!dir)
        ::close(folderFd);
    return dir;
}

// The listing uses readdir's entry type, so a plain folder or file costs no stat call; only
// links and file systems that do not report types are looked at with fstatat.
QList<DirEntry> readListing(DIR *dir)
{
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
        entries.append(DirEntry{decodeFileName(name), kind});
    }
    sortListing(entries);
    return entries;
}

// Reads up to maxBytes from an opened file into bytes and closes it. The type is checked on the
// open descriptor, so an entry swapped for something else after the listing is still refused.
// bytes may be a buffer kept from an earlier read: its room is used again.
std::optional<QByteArray> readOpenedFile(int fd, qint64 maxBytes, QByteArray &bytes)
{
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // Room for one byte more than the file holds: a read that stops short of a full buffer at
    // the reported size has met the end, which saves a second read per file. Files that
    // report no size, or grow meanwhile, are read on until a read returns nothing.
    const qint64 size = st.st_size > 0 ? qint64(st.st_size) : 0;
    const qint64 wanted = std::min<qint64>(maxBytes, size > 0 ? size + 1 : 4096);
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
        if (size > 0 && filled >= size && filled < bytes.size())
            break;
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    bytes.truncate(qsizetype(filled));
    return bytes;
}

// O_NONBLOCK: opening a FIFO must never wait for a writer.
constexpr int FileOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

// A listed folder whose files are opened relative to it, so that the folders above it are not
// looked up again for every file.
class HostOpenFolder final : public OpenFolder {
public:
    HostOpenFolder(const FileSystem &fs, const QString &path, DIR *dir)
        : OpenFolder(fs, path, readListing(dir))
        , m_dir(dir)
    {}
    ~HostOpenFolder() override { ::closedir(m_dir); }

    std::optional<QByteArray> readHead(QStringView name, qint64 maxBytes) override
    {
        if (name.contains(u'/'))
            return OpenFolder::readHead(name, maxBytes);
        encodeName(name);
        // The result shares the buffer; once the caller lets it go, the next read reuses it.
        return readOpenedFile(::openat(::dirfd(m_dir), m_name.constData(), FileOpenFlags), maxBytes,
                              m_buffer);
    }

private:
    // Plain ASCII names, nearly all of them, are their own bytes: encoded into one buffer.
    void encodeName(QStringView name)
    {
        m_name.resize(name.size());
        for (qsizetype i = 0; i < name.size(); ++i) {
            if (name[i].unicode() >= 0x80) {
                m_name = encodeFileName(name);
                return;
            }
            m_name[i] = char(name[i].unicode());
        }
    }

    DIR *m_dir;
    QByteArray m_name;
    QByteArray m_buffer;
};

} // namespace

std::optional<QList<DirEntry>> HostFileSystem::list(const QString &folder) const
{
    DIR *dir = openListing(folder);
    if (!dir)
        return std::nullopt;
    QList<DirEntry> entries = readListing(dir);
    ::closedir(dir);
    return entries;
}

std::unique_ptr<OpenFolder> HostFileSystem::openFolder(const QString &folder) const
{
    DIR *dir = openListing(folder);
    if (!dir)
        return nullptr;
    return std::make_unique<HostOpenFolder>(*this, folder, dir);
}

std::optional<QByteArray> HostFileSystem::readHead(const QString &path, qint64 maxBytes) const
{
    QByteArray bytes;
    return readOpenedFile(openLongPath(encodeFileName(path), FileOpenFlags), maxBytes, bytes);
}

bool HostFileSystem::isFolder(const QString &path) const
{
    return QFileInfo(path).isDir();
}

} // namespace quillon
