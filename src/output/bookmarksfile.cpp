#include "output/bookmarksfile.h"

#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/foldertree.h"
#include "output/htmlescape.h"
#include "output/listsink.h"
#include "output/textlines.h"
#include "output/writtenlisterrors.h"

#include <QBuffer>

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

// The lines the writer and the reader share, without their line ends.
constexpr QByteArrayView fileStart = "<!DOCTYPE NETSCAPE-Bookmark-file-1>";
constexpr QByteArrayView listStart = "<DL><p>";
constexpr QByteArrayView listEnd = "</DL><p>";
constexpr QByteArrayView linkStart = "<DT><A HREF=\"";
constexpr QByteArrayView linkEnd = "</A>";

QByteArray escaped(const QString &value)
{
    QByteArray out;
    appendHtmlEscaped(out, value, HtmlCharset::Utf8);
    return out;
}

QByteArray bookmarkTitle(QStringView value)
{
    return escaped(listedSiteName(value));
}

// Whether value ends in a backslash and then nothing but blanks.
bool endsInBackslash(QStringView value)
{
    qsizetype end = value.size();
    while (end > 0 && value[end - 1] == u' ')
        --end;
    return end > 0 && value[end - 1] == u'\\';
}

QByteArray bookmarkAddress(QStringView value)
{
    return escaped(bookmarkHref(listedAddress(value)));
}

// Four blanks a level, as browsers write it; deeper than a few levels the indent stops growing,
// so a very deep tree cannot make the file grow with the square of its depth.
QByteArray indent(size_t depth)
{
    return QByteArray(qsizetype(std::min<size_t>(depth, 16)) * 4, ' ');
}

void appendLinks(ListSink &out, const LinkTable &table, const TreeFolder &folder, size_t depth)
{
    for (const int row : folder.rows) {
        const LinkRecord &record = table.record(row);
        out += indent(depth);
        out += linkStart;
        out += bookmarkAddress(record.address);
        out += '"';
        if (record.modifiedAt)
            out += " ADD_DATE=\"" + QByteArray::number(*record.modifiedAt) + '"';
        out += '>';
        out += bookmarkTitle(record.siteName);
        out += linkEnd;
        out += '\n';
        out.endItem();
    }
}

void appendFolderStart(ListSink &out, const TreeFolder &folder, size_t depth)
{
    out += indent(depth);
    out += "<DT><H3";
    if (folder.earliest) {
        out += " ADD_DATE=\"" + QByteArray::number(*folder.earliest) + "\" LAST_MODIFIED=\"" +
               QByteArray::number(*folder.latest) + '"';
    }
    out += '>';
    out += bookmarkTitle(folder.name);
    out += "</H3>\n";
    out += indent(depth);
    out += listStart;
    out += '\n';
}

} // namespace

QString bookmarkHref(const QString &address)
{
    return endsInBackslash(address) ? address + u' ' : address;
}

QString addressOfBookmarkHref(QString href)
{
    if (href.endsWith(u' ') && endsInBackslash(href))
        href.chop(1);
    return href;
}

void writeBookmarksFile(ListSink &out, const LinkTable &table, QChar folderSeparator)
{
    const std::vector<TreeFolder> folders = folderTree(table, folderSeparator);
    out += fileStart;
    out += "\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
           "<TITLE>Bookmarks</TITLE>\n"
           "<H1>Bookmarks</H1>\n"
           "<DL><p>\n";
    appendLinks(out, table, folders[0], 1);
    // Each open folder with the index of the next sub-folder to write.
    std::vector<std::pair<int, size_t>> open{{0, 0}};
    while (!open.empty()) {
        auto &[index, next] = open.back();
        const TreeFolder &folder = folders[size_t(index)];
        if (next < folder.children.size()) {
            const TreeFolder &child = folders[size_t(folder.children[next++])];
            const size_t depth = open.size();
            appendFolderStart(out, child, depth);
            appendLinks(out, table, child, depth + 1);
            open.emplace_back(folder.children[next - 1], 0);
            continue;
        }
        open.pop_back();
        out += indent(open.size());
        out += listEnd;
        out += '\n';
    }
}

QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ListSink out(buffer);
    writeBookmarksFile(out, table, folderSeparator);
    out.finish(nullptr);
    return bytes;
}

bool startsBookmarksFile(QByteArrayView line)
{
    return line == fileStart;
}

std::optional<std::vector<ListedLink>> readBookmarksFile(QByteArrayView text, QString &error)
{
    // Browsers' own files are read too: other attributes, in any order, and other lines.
    static constexpr QByteArrayView linkTag = linkStart.first(7); // "<DT><A "
    static constexpr QByteArrayView href = linkStart.sliced(linkTag.size());
    std::vector<ListedLink> links;
    TextLines lines(text);
    lines.next(); // the file start
    int depth = 0;
    bool opened = false;
    while (lines.next()) {
        const QByteArrayView line = lines.line();
        if (line.startsWith(listStart.first(4))) {
            ++depth;
            opened = true;
        } else if (line.startsWith(listEnd.first(5))) {
            if (--depth < 0)
                break;
        } else if (line.startsWith(linkTag)) {
            const qsizetype tagEnd = line.indexOf('>', linkTag.size());
            const qsizetype hrefAt = line.first(std::max<qsizetype>(tagEnd, 0)).indexOf(href);
            const qsizetype hrefEnd = hrefAt < 0 ? -1 : line.indexOf('"', hrefAt + href.size());
            if (tagEnd < 0 || hrefAt < 0 || hrefEnd < 0 || hrefEnd > tagEnd ||
                !line.endsWith(linkEnd)) {
                error = writtenListErrors::notALink(lines.number());
                return std::nullopt;
            }
            const qsizetype valueAt = hrefAt + href.size();
            links.push_back(
                {addressOfBookmarkHref(htmlUnescaped(line.sliced(valueAt, hrefEnd - valueAt))),
                 htmlUnescaped(
                     line.sliced(tagEnd + 1, line.size() - linkEnd.size() - tagEnd - 1))});
        }
    }
    if (!opened || depth != 0) {
        error = depth < 0 ? QStringLiteral("its folders do not nest") : writtenListErrors::cutOff();
        return std::nullopt;
    }
    return links;
}

} // namespace quillon
