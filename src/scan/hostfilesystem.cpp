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

namespace {

// A name's sort key, the name upper-cased. For plain ASCII names, nearly all of them, the key
// is the name itself with a to z read as A to Z, the same as QString::toUpper gives; only the
// other names have their key made.
struct SortKey {
    QString upper;    // the upper-cased name, made for names that are not plain ASCII
    QStringView text; // the name itself, or upper
    bool mapAscii = false;

    char16_t at(qsizetype i) const
    {
        const char16_t c = text[i].unicode();
        return mapAscii && c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    }
};

SortKey sortKey(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return {name.toUpper(), {}, false};
    }
    return {{}, name, true};
}

// Compares two keys code unit by code unit, as QString::compare does.
int compareKeys(const SortKey &a, const SortKey &b)
{
    const qsizetype common = std::min(a.text.size(), b.text.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const char16_t ca = a.at(i), cb = b.at(i); ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.text.size() == b.text.size() ? 0 : a.text.size() < b.text.size() ? -1 : 1;
}

} // namespace

void sortListing(QList<DirEntry> &entries)
{
    // Keys are made once per entry, not once per comparison. The text of a made key points
    // into the key's own string once the key has its place.
    std::vector<SortKey> keys;
    keys.reserve(size_t(entries.size()));
    std::vector<qsizetype> order;
    order.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        keys.push_back(sortKey(entries[i].name));
        if (!keys.back().mapAscii)
            keys.back().text = keys.back().upper;
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = compareKeys(keys[size_t(a)], keys[size_t(b)]); c != 0)
            return c < 0;
        return QString::compare(entries[a].name, entries[b].name, Qt::CaseSensitive) < 0;
    });
    QList<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (const qsizetype i : order)
        sorted.append(std::move(entries[i]));
    entries = std::move(sorted);
}

namespace {

// The length of the valid UTF-8 sequence at the start of bytes, or 0 when there is none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
qsizetype validUtf8Length(QByteArrayView bytes)
{
    const auto byte = [&bytes](qsizetype i) {
        return uchar(bytes[i]);
    };
    const auto continuation = [&](qsizetype i) {
        return i < bytes.size() && (byte(i) & 0xC0) == 0x80;
    };
    const uchar lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        const uchar second = byte(1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        const uchar second = byte(1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(QStringView name, qsizetype i)
{
    const char16_t unit = name[i].unicode();
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF &&
           (i == 0 || !name[i - 1].isHighSurrogate());
}

} // namespace

QString decodeFileName(QByteArrayView name)
{
    // Plain ASCII, nearly every name, is valid UTF-8 as it stands.
    uchar any = 0;
    for (const char c : name)
        any |= uchar(c);
    if (any < 0x80)
        return QString::fromLatin1(name);

    QString text;
    qsizetype runStart = 0; // start of the valid UTF-8 not yet decoded
    qsizetype i = 0;
    while (i < name.size()) {
        if (const qsizetype length = validUtf8Length(name.sliced(i)); length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(name.sliced(runStart, i - runStart));
        text += QChar(char16_t(EscapeBase + uchar(name[i])));
        runStart = ++i;
    }
    text += QString::fromUtf8(name.sliced(runStart));
    return text;
}

QByteArray encodeFileName(QStringView name)
{
    // Without escaped bytes, nearly always, the name is plain UTF-8.
    bool escaped = false;
    for (qsizetype i = 0; i < name.size() && !escaped; ++i)
        escaped = isEscapedByte(name, i);
    if (!escaped)
        return name.toUtf8();

    QByteArray bytes;
    qsizetype runStart = 0; // start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isEscapedByte(name, i))
            continue;
        bytes += name.sliced(runStart, i - runStart).toUtf8();
        bytes += char(name[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    bytes += name.sliced(runStart).toUtf8();
    return bytes;
}

QChar HostFileSystem::separator() const
{
    return QDir::separator();
}

#ifdef Q_OS_UNIX

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

std::unique_ptr<OpenFolder> HostFileSystem::openFolder(const QString &folder) const
{
    return FileSystem::openFolder(folder);
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
