#include "scan/hostfilesystem.h"

#include "scan/filenamecodec.h"
#include "scan/listingorder.h"

#include <QDir>

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

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
// O_NONBLOCK: opening a FIFO must never wait for a writer.
constexpr int FileOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

// The entries of an open folder, from its start. The listing uses readdir's entry type, so a plain
// folder or file costs no stat call; only links and file systems that do not report types are
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

// A folder held open by its descriptor: sub-folders and files are opened relative to it, never
// through a link in place of what was listed.
class HostOpenFolder final : public OpenFolder {
public:
    explicit HostOpenFolder(int fd)
        : m_fd(fd)
    {}
    ~HostOpenFolder() override
    {
        if (m_dir)
            ::closedir(m_dir); // closes m_fd too
        else
            ::close(m_fd);
    }

    // Lists on the walk's listing task only, before any other use of the folder.
    std::optional<QList<DirEntry>> list() const override
    {
        // The stream is made only for folders that are listed, not for parents opened again.
        if (!m_dir)
            m_dir = ::fdopendir(m_fd);
        if (!m_dir)
            return std::nullopt;
        return readListing(m_dir);
    }

    std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
    {
        const int fd = ::openat(m_fd, EncodedName(name).text(), FolderOpenFlags | O_NOFOLLOW);
        if (fd < 0)
            return nullptr;
        return std::make_unique<HostOpenFolder>(fd);
    }

    std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                     QByteArray &buffer) const override
    {
        const int flags =
            entry.kind == EntryKind::File ? FileOpenFlags | O_NOFOLLOW : FileOpenFlags;
        return readOpenedFile(::openat(m_fd, EncodedName(entry.name).text(), flags), maxBytes,
                              buffer);
    }

private:
    int m_fd;
    mutable DIR *m_dir = nullptr; // takes m_fd over once made
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
    return std::make_unique<HostOpenFolder>(fd);
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
