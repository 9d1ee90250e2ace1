// Arbitrary bytes as a shortcut's content: the reader must not crash, must never ask for more
// than the read limit, and must give an address that is one line of the decoded text.

#include "require.h"
#include "scan/filesystem.h"
#include "scan/hostfilesystem.h"
#include "shortcuts/shortcutreader.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

using namespace quillon;
using quillon::fuzz::require;

namespace {

// One file whose content is the input; records how much the reader asked for.
class OneFile final : public FileSystem {
public:
    explicit OneFile(QByteArrayView content)
        : m_content(content)
    {}

    QChar separator() const override { return u'/'; }
    std::optional<QList<DirEntry>> list(const QString &) const override { return std::nullopt; }
    bool isFolder(const QString &) const override { return false; }
    std::optional<FileHead> readFile(const QString &, qint64 maxBytes) const override
    {
        m_asked = maxBytes;
        // A copy of exactly the bytes handed out, so reading beyond them is caught.
        return FileHead{m_content.first(std::min<qint64>(maxBytes, m_content.size())).toByteArray(),
                        std::nullopt};
    }

    qint64 asked() const { return m_asked; }

private:
    QByteArrayView m_content;
    mutable qint64 m_asked = -1;
};

void checkAddress(const QString &address, QByteArrayView bytes)
{
    require(!address.contains(u'\r') && !address.contains(u'\n'), "address holds a line end");
    // Only a Unicode section's value is decoded once more, from UTF-7.
    const QString text = decodeShortcutText(bytes);
    require(text.contains(address) ||
                text.contains(QLatin1StringView("[InternetShortcut.W]"), Qt::CaseInsensitive),
            "address is not from the text");
}

// The host reader on a real open file: never more than asked for, exactly the file's start.
void checkHostRead(QByteArrayView bytes, qint64 limit)
{
    const int fd = ::memfd_create("shortcut", MFD_CLOEXEC);
    require(fd >= 0, "memfd_create");
    require(::write(fd, bytes.data(), size_t(bytes.size())) == ssize_t(bytes.size()), "write");
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const auto head = HostFileSystem().readFile(path, limit);
    ::close(fd);
    // The same bytes in a folder held open from run to run, whose read buffer is reused. (Not
    // through /proc/self/fd: its entries are links that lead outside, and are not read.)
    static QTemporaryDir dir;
    static const HostFileSystem host;
    static const std::unique_ptr<OpenFolder> folder = host.openFolder(dir.path());
    require(folder != nullptr, "open folder");
    QFile copy(dir.filePath(QStringLiteral("s.url")));
    require(copy.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                copy.write(bytes.data(), bytes.size()) == bytes.size(),
            "write the copy");
    copy.close();
    static QByteArray buffer;
    const auto headInFolder =
        folder->readFile(DirEntry{QStringLiteral("s.url"), EntryKind::File}, limit, buffer);
    const QByteArrayView expected = bytes.first(std::min<qint64>(limit, bytes.size()));
    require(head.has_value() && headInFolder.has_value(), "a regular file could not be read");
    require(head->bytes == expected && headInFolder->bytes == expected, "wrong file head");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const InternetShortcut shortcut = readInternetShortcut(bytes);
    const QString &address = shortcut.address;
    checkAddress(address, bytes);
    // ASCII is read on a path of its own; behind a byte-order mark the same text takes the
    // path of decoded text, and both must agree.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
        const InternetShortcut decoded = readInternetShortcut("\xEF\xBB\xBF" + bytes.toByteArray());
        require(decoded.address == address && decoded.modifiedAt == shortcut.modifiedAt,
                "the two reading paths differ");
    }

    const OneFile file(bytes);
    const std::unique_ptr<OpenFolder> folder = file.openFolder(QStringLiteral("/"));
    QByteArray buffer;
    const auto head = folder->readFile(DirEntry{QStringLiteral("a.url"), EntryKind::File},
                                       ShortcutReadLimit, buffer);
    require(head && readInternetShortcut(head->bytes).address == address, "reader differs");
    require(file.asked() >= 0 && file.asked() <= ShortcutReadLimit, "asked beyond the limit");

    if (const auto modifiedAt = shortcut.modifiedAt)
        require(*modifiedAt >= -11'644'473'600, "time before 1601");

    // A small limit, taken from the last byte, on the real reader.
    if (size > 0)
        checkHostRead(bytes, qint64(data[size - 1] % 64));
    return 0;
}
