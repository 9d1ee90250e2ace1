#include "output/bookmarksfile.h"

#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/foldertree.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

// Only the five references every importer decodes; the rest is plain UTF-8.
QByteArray escaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1StringView("&amp;");
            break;
        case u'<':
            out += QLatin1StringView("&lt;");
            break;
        case u'>':
            out += QLatin1StringView("&gt;");
            break;
        case u'"':
            out += QLatin1StringView("&quot;");
            break;
        case u'\'':
            out += QLatin1StringView("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out.toUtf8();
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

void appendLinks(QByteArray &out, const LinkTable &table, const TreeFolder &folder, size_t depth)
{
    for (const int row : folder.rows) {
        const LinkRecord &record = table.record(row);
        out += indent(depth);
        out += "<DT><A HREF=\"";
        out += bookmarkAddress(record.address);
        out += '"';
        if (record.modifiedAt)
            out += " ADD_DATE=\"" + QByteArray::number(*record.modifiedAt) + '"';
        out += '>';
        out += bookmarkTitle(record.siteName);
        out += "</A>\n";
    }
}

void appendFolderStart(QByteArray &out, const TreeFolder &folder, size_t depth)
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
    out += "<DL><p>\n";
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

QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator)
{
    const std::vector<TreeFolder> folders = folderTree(table, folderSeparator);
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
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
        out += "</DL><p>\n";
    }
    return out;
}

} // namespace quillon
