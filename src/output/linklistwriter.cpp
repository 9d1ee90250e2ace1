#include "output/linklistwriter.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "output/bookmarksfile.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <cerrno>

namespace quillon {

namespace {

// Printable ASCII without a meaning in HTML: written as it is.
bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
}

// C1 controls whose numeric references a browser reads as Windows-1252 characters ("&#128;"
// shows as a euro sign): no reference writes them, so they show as U+FFFD.
bool isReadAsWindows1252(char32_t code)
{
    return code >= 0x80 && code <= 0x9F && code != 0x81 && code != 0x8D && code != 0x8F &&
           code != 0x90 && code != 0x9D;
}

void appendEscaped(QByteArray &out, QStringView value)
{
    for (auto it = value.begin(); it != value.end(); ++it) {
        // Runs of plain characters, most of every value, are copied in one go.
        if (isPlain(it->unicode())) {
            auto end = it + 1;
            while (end != value.end() && isPlain(end->unicode()))
                ++end;
            const qsizetype at = out.size();
            out.resize(at + (end - it));
            char *to = out.data() + at;
            for (; it != end; ++it)
                *to++ = char(it->unicode());
            if (it == value.end())
                break;
        }
        char32_t code = it->unicode();
        if (QChar::isHighSurrogate(code) && it + 1 != value.end() && (it + 1)->isLowSurrogate()) {
            code = QChar::surrogateToUcs4(*it, *(it + 1));
            ++it;
        } else if (QChar::isSurrogate(code)) {
            code = QChar::ReplacementCharacter; // a lone half of a pair names no character
        } else if (isReadAsWindows1252(code)) {
            code = QChar::ReplacementCharacter;
        }
        switch (code) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'"':
            out += "&quot;";
            break;
        case U'\'':
            out += "&#39;";
            break;
        default:
            if (code >= 0x20 && code < 0x7F) {
                out += char(code);
            } else {
                out += "&#";
                out += QByteArray::number(uint(code));
                out += ';';
            }
        }
    }
}

} // namespace

QByteArray escapeHtml(QStringView value)
{
    QByteArray out;
    appendEscaped(out, value);
    return out;
}

QByteArray linkListBytes(const LinkTable &table, OutputKind kind)
{
    if (kind == OutputKind::Bookmarks)
        return bookmarksFileBytes(table, QDir::separator());
    QByteArray out;
    if (table.recordCount() == 0)
        return out;

    const bool html = kind == OutputKind::Html;
    if (html)
        out += "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    out += "<UL> \r\n";
    for (const FolderGroup &group : folderGroups(table)) {
        // The heading goes with the group's first ticked record, not with the record that
        // carries the name: unticking that one must not move its folder's links under the
        // previous heading. A group with nothing ticked gets no heading.
        bool headed = group.folderName.isEmpty();
        for (int row = group.firstRow; row < group.endRow; ++row) {
            const LinkRecord &record = table.record(row);
            if (!record.ticked)
                continue;
            if (!headed) {
                out += "<BR>\r\n<FONT SIZE='+1'><U><B>";
                appendEscaped(out, QStringView(group.folderName));
                out += "</B></U></FONT>\r\n<BR>\r\n";
                headed = true;
            }
            out += "<LI><A HREF='";
            appendEscaped(out, record.address);
            out += "' target='_blank'>";
            appendEscaped(out, record.siteName);
            out += "</A><BR>\r\n";
        }
    }
    out += "</UL> \r\n";
    if (html)
        out += "</BODY>\r\n</HTML>\r\n";
    return out;
}

bool writeLinkList(QIODevice &device, const LinkTable &table, OutputKind kind, QString *errorText)
{
    const QByteArray bytes = linkListBytes(table, kind);
    // A device may take fewer bytes than offered (a pipe, a nearly full disk): go on with the
    // rest until all is written or the device reports an error.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 taken = device.write(bytes.constData() + done, bytes.size() - done);
        if (taken <= 0) {
            if (errorText)
                *errorText = device.errorString();
            return false;
        }
        done += qsizetype(taken);
    }
    return true;
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
