#include "output/linklistwriter.h"

#include "output/bookmarksfile.h"
#include "output/csvlist.h"
#include "output/jsonlist.h"
#include "output/listsink.h"
#include "output/markdownlist.h"
#include "output/pagelist.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <cerrno>

namespace quillon {

QByteArray linkListBytes(const LinkTable &table, OutputKind kind)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeLinkList(buffer, table, kind);
    return bytes;
}

bool writeLinkList(QIODevice &device, const LinkTable &table, OutputKind kind, QString *errorText)
{
    ListSink out(device);
    switch (kind) {
    case OutputKind::Dat:
    case OutputKind::Html:
        writePageList(out, table, kind == OutputKind::Html);
        break;
    case OutputKind::Bookmarks:
        writeBookmarksFile(out, table, QDir::separator());
        break;
    case OutputKind::Markdown:
        writeMarkdownList(out, table);
        break;
    case OutputKind::Json:
        writeJsonList(out, table, QDir::separator());
        break;
    case OutputKind::Csv:
        writeCsvList(out, table);
        break;
    }
    return out.finish(errorText);
}

bool saveLinkList(const QString &path, const LinkTable &table, OutputKind kind, QString *errorText,
                  const std::function<bool()> &mayReplace)
{
    const auto fail = [&](const QString &what, const QString &why) {
        if (errorText)
            *errorText = QStringLiteral("%1 \"%2\": %3").arg(what, path, why);
        return false;
    };
    // The temporary file would replace whatever the path names: a FIFO or a device (even
    // through a link) must stay what it is, so only regular files are ever replaced.
    if (const QFileInfo target(path); target.exists() && !target.isFile())
        return fail(QStringLiteral("Cannot write"),
                    target.isDir() ? QStringLiteral("it is a folder")
                                   : QStringLiteral("it is not a regular file"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create"), file.errorString());
    QString writeError;
    if (!writeLinkList(file, table, kind, &writeError)) {
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write"), writeError);
    }
    // commit() ignores a failed flush of the buffered tail and would then put a cut-off file
    // in place of the old one (seen with a full disk), so the tail is flushed here first.
    // A short write sets no error text of its own; the system's reason is still in errno.
    errno = 0;
    if (!file.flush()) {
        const int reason = errno;
        const QString why = reason != 0 ? qt_error_string(reason) : file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write"), why);
    }
    if (mayReplace && !mayReplace()) {
        file.cancelWriting();
        return fail(QStringLiteral("Did not save"), QStringLiteral("cancelled"));
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot save"), file.errorString());
    return true;
}

} // namespace quillon
