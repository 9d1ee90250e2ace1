#include "scan/hostfilesystem.h"

#include "scan/filenamecodec.h"
#include "scan/listingorder.h"

#include <QDir>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/param.h>
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

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
// O_NONBLOCK: opening a FIFO must never wait for a writer.
constexpr int FileOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

// The entries of an open folder stream, from its start. The listing uses readdir's entry type, so a
// plain folder or file costs no stat call; only links and file systems that do not report types are
// looked at with fstatat.
QList<DirEntry> readListing(DIR *dir)
{
    ::rewinddir(dir);
    const int folderFd = ::dirfd(dir);
    QList<DirEntry> entries;
    while (const dirent *ent = ::readdir(dir)) {
        const char *name = ent->d_name;
        if (name[0] == '.') // hidden, and "." and ".."
            continue;
        EntryKind kind = EntryKind::Other;
        unsigned char type = ent->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
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
            if (::fstatat(folderFd, name, &target, 0) == 0) {
                if (S_ISDIR(target.st_mode))
                    kind = EntryKind::FolderLink;
                else if (S_ISREG(target.st_mode))
                    kind = EntryKind::FileLink;
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
std::optional<FileHead> readOpenedFile(int fd, qint64 maxBytes, QByteArray &bytes)
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
    // The result shares the buffer; once the caller lets it go, the next read reuses it.
    return FileHead{bytes, qint64(st.st_mtim.tv_sec)};
}

// A name encoded for a system call. Plain ASCII names, nearly all, go into a buffer on the stack.
class EncodedName {
public:
    explicit EncodedName(QStringView name)
    {
        if (name.size() < qsizetype(sizeof m_ascii)) {
            qsizetype i = 0;
            while (i < name.size() && name[i].unicode() < 0x80) {
                m_ascii[i] = char(name[i].unicode());
                ++i;
            }
            if (i == name.size()) {
                m_ascii[i] = '\0';
                m_text = m_ascii;
                return;
            }
        }
        m_bytes = encodeFileName(name);
        m_text = m_bytes.constData();
    }
    EncodedName(const EncodedName &) = delete;
    EncodedName &operator=(const EncodedName &) = delete;

    const char *text() const { return m_text; }

private:
    char m_ascii[256];
    QByteArray m_bytes;
    const char *m_text;
};

// The path the system resolved for an open descriptor; empty where it cannot tell.
QByteArray resolvedPathOf(int fd)
{
#ifdef Q_OS_LINUX
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    QByteArray path(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.constData(), path.data(), size_t(path.size()));
    if (length <= 0 || length >= path.size())
        return {};
    path.truncate(length);
    return path;
#elif defined(F_GETPATH)
    QByteArray path(MAXPATHLEN, '\0');
    if (::fcntl(fd, F_GETPATH, path.data()) != 0)
        return {};
    path.truncate(qsizetype(std::strlen(path.constData())));
    return path;
#else
    Q_UNUSED(fd);
    return {};
#endif
}

// The folder a walk started from, as the system resolved it: a shortcut that is a link is read
// only when its target lies inside, so that no link publishes a file from elsewhere.
class StartFolder {
public:
    explicit StartFolder(int fd)
        : m_path(resolvedPathOf(fd))
    {
        if (!m_path.isEmpty() && !m_path.endsWith('/'))
            m_path += '/';
    }

    // Where it cannot be told, nothing is inside.
    bool holds(int fd) const { return !m_path.isEmpty() && resolvedPathOf(fd).startsWith(m_path); }

private:
    QByteArray m_path; // ends in "/"; empty when the system could not tell
};

// A folder held open by its descriptor: sub-folders and files are opened relative to it, never
// through a link in place of what was listed.
class HostOpenFolder final : public OpenFolder {
public:
    HostOpenFolder(int fd, std::shared_ptr<const StartFolder> start)
        : m_fd(fd)
        , m_start(std::move(start))
    {}
    ~HostOpenFolder() override { ::close(m_fd); }

    std::optional<QList<DirEntry>> list() const override
    {
        // The stream takes a descriptor of its own (sharing the position, which it rewinds),
        // made only for folders that are listed, not for parents opened again.
        const int listFd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
        DIR *dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
        if (!dir) {
            if (listFd >= 0)
                ::close(listFd);
            return std::nullopt;
        }
        QList<DirEntry> entries = readListing(dir);
        ::closedir(dir);
        return entries;
    }

    std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
    {
        const int fd = ::openat(m_fd, EncodedName(name).text(), FolderOpenFlags | O_NOFOLLOW);
        if (fd < 0)
            return nullptr;
        return std::make_unique<HostOpenFolder>(fd, m_start);
    }

    std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                     QByteArray &buffer) const override
    {
        if (entry.kind == EntryKind::File) {
            return readOpenedFile(
                ::openat(m_fd, EncodedName(entry.name).text(), FileOpenFlags | O_NOFOLLOW),
                maxBytes, buffer);
        }
        // A link: where it leads is told by the file it opened, so no swap can get past.
        const int fd = ::openat(m_fd, EncodedName(entry.name).text(), FileOpenFlags);
        if (fd >= 0 && !m_start->holds(fd)) {
            ::close(fd);
            return std::nullopt;
        }
        return readOpenedFile(fd, maxBytes, buffer);
    }

private:
    int m_fd;
    std::shared_ptr<const StartFolder> m_start;
};

} // namespace

HostFileSystem::HostFileSystem(int concurrency)
    : m_concurrency(std::max(concurrency, 1))
{}

std::optional<QList<DirEntry>> HostFileSystem::list(const QString &folder) const
{
    const auto opened = openFolder(folder);
    return opened ? opened->list() : std::nullopt;
}

std::unique_ptr<OpenFolder> HostFileSystem::openFolder(const QString &folder) const
{
    const int fd = openLongPath(encodeFileName(folder), FolderOpenFlags);
    if (fd < 0)
        return nullptr;
    return std::make_unique<HostOpenFolder>(fd, std::make_shared<const StartFolder>(fd));
}

std::optional<FileHead> HostFileSystem::readFile(const QString &path, qint64 maxBytes) const
{
    QByteArray bytes;
    return readOpenedFile(openLongPath(encodeFileName(path), FileOpenFlags), maxBytes, bytes);
}

bool HostFileSystem::isFolder(const QString &path) const
{
    struct stat st;
    return ::stat(encodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace quillon
