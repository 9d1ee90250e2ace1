#include "output/bookmarksfile.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "links/listedlink.h"

#include <QHash>

#include <algorithm>
#include <optional>
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

QByteArray bookmarkAddress(QStringView value)
{
    return escaped(listedAddress(value));
}

// One folder of the bookmarks tree; folders refer to each other by index into one vector,
// so no depth of nesting costs stack.
struct Folder {
    QString name;
    std::vector<int> rows;     // its own ticked records, in table order
    std::vector<int> children; // in the order they were first met
    bool holdsTicked = false;  // a ticked record is in it or below it
    std::optional<qint64> earliest;
    std::optional<qint64> latest;
};

std::vector<Folder> folderTree(const LinkTable &table, QChar separator)
{
    std::vector<Folder> folders(1); // the start folder
    QHash<QString, int> byPath;
    for (const FolderGroup &group : folderGroups(table)) {
        std::vector<int> ticked;
        for (int row = group.firstRow; row < group.endRow; ++row)
            if (table.record(row).ticked)
                ticked.push_back(row);
        // Folders are made for unticked groups too, so that a folder keeps its place among its
        // sibling folders whatever is ticked; only those holding a ticked link are written.
        std::vector<int> path{0};
        QString pathSoFar;
        for (QStringView part : QStringView(group.folderName).tokenize(separator)) {
            if (part.isEmpty())
                continue;
            pathSoFar += separator;
            pathSoFar += part;
            int &index = byPath[pathSoFar];
            if (index == 0) {
                index = int(folders.size());
                folders[size_t(path.back())].children.push_back(index);
                folders.push_back({part.toString(), {}, {}, false, {}, {}});
            }
            path.push_back(index);
        }
        Folder &home = folders[size_t(path.back())];
        home.rows.insert(home.rows.end(), ticked.begin(), ticked.end());
        if (!ticked.empty())
            for (const int index : path)
                folders[size_t(index)].holdsTicked = true;
        for (const int row : ticked) {
            const std::optional<qint64> date = table.record(row).modifiedAt;
            if (!date)
                continue;
            for (const int index : path) {
                Folder &f = folders[size_t(index)];
                f.earliest = std::min(f.earliest.value_or(*date), *date);
                f.latest = std::max(f.latest.value_or(*date), *date);
            }
        }
    }
    return folders;
}

// Four blanks a level, as browsers write it; deeper than a few levels the indent stops growing,
// so a very deep tree cannot make the file grow with the square of its depth.
QByteArray indent(size_t depth)
{
    return QByteArray(qsizetype(std::min<size_t>(depth, 16)) * 4, ' ');
}

void appendLinks(QByteArray &out, const LinkTable &table, const Folder &folder, size_t depth)
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

void appendFolderStart(QByteArray &out, const Folder &folder, size_t depth)
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

QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator)
{
    const std::vector<Folder> folders = folderTree(table, folderSeparator);
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
        const Folder &folder = folders[size_t(index)];
        if (next < folder.children.size()) {
            const Folder &child = folders[size_t(folder.children[next++])];
            if (!child.holdsTicked)
                continue;
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
