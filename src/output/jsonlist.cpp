#include "output/jsonlist.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "output/foldertree.h"
#include "output/linkfields.h"
#include "output/listsink.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace quillon {

namespace {

const QString generatorKey = QStringLiteral("generator");
const QString linksKey = QStringLiteral("links");
const QString foldersKey = QStringLiteral("folders");
const QString nameKey = QStringLiteral("name");
const QString folderKey = QStringLiteral("folder");
const QString siteKey = QStringLiteral("site");
const QString addressKey = QStringLiteral("address");
const QString dateKey = QStringLiteral("date");

// A string as JSON text, quotes included.
QByteArray jsonString(const QString &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

QByteArray jsonLink(const LinkFields &fields)
{
    const QJsonObject link{{folderKey, fields.folder},
                           {siteKey, fields.site},
                           {addressKey, fields.address},
                           {dateKey, fields.date ? QJsonValue(*fields.date) : QJsonValue()}};
    return QJsonDocument(link).toJson(QJsonDocument::Compact);
}

QByteArray indent(size_t depth)
{
    return QByteArray(qsizetype(std::min<size_t>(depth, 16)) * 2, ' ');
}

// The group a row belongs to; groups are consecutive runs in row order.
const FolderGroup &groupOf(const std::vector<FolderGroup> &groups, int row)
{
    const auto after = std::upper_bound(groups.begin(), groups.end(), row,
                                        [](int r, const FolderGroup &g) { return r < g.firstRow; });
    return *(after - 1);
}

// Writes the rows as a JSON array of links, one link a line.
void appendLinks(ListSink &out, const LinkTable &table, const std::vector<FolderGroup> &groups,
                 const std::vector<int> &rows, size_t depth)
{
    out += '[';
    for (size_t i = 0; i < rows.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += indent(depth + 1);
        const LinkRecord &record = table.record(rows[i]);
        out += jsonLink(linkFields(record, groupOf(groups, rows[i]).folderName));
        out.endItem();
    }
    if (!rows.empty())
        out += '\n' + indent(depth);
    out += ']';
}

QByteArray key(const QString &name)
{
    return jsonString(name) + ": ";
}

// The tree of folders, written without recursion as the bookmarks file is.
void appendFolders(ListSink &out, const LinkTable &table, const std::vector<FolderGroup> &groups,
                   QChar separator)
{
    const std::vector<TreeFolder> folders = folderTree(table, separator);
    const auto openFolder = [&](const TreeFolder &folder, size_t depth) {
        out += '{' + key(nameKey) + jsonString(listedSiteName(folder.name)) + ", " + key(linksKey);
        appendLinks(out, table, groups, folder.rows, depth);
        out += ", " + key(foldersKey) + '[';
    };
    struct Open {
        int index;
        size_t next = 0; // the next sub-folder to look at
        bool wroteOne = false;
    };
    openFolder(folders[0], 1);
    std::vector<Open> open{{0}};
    while (!open.empty()) {
        Open &top = open.back();
        const TreeFolder &folder = folders[size_t(top.index)];
        if (top.next < folder.children.size()) {
            const int child = folder.children[top.next++];
            out += top.wroteOne ? ",\n" : "\n";
            top.wroteOne = true;
            const size_t depth = open.size() + 1;
            out += indent(depth);
            openFolder(folders[size_t(child)], depth);
            open.push_back({child});
            continue;
        }
        if (top.wroteOne)
            out += '\n' + indent(open.size());
        out += "]}";
        open.pop_back();
    }
}

} // namespace

void writeJsonList(ListSink &out, const LinkTable &table, QChar folderSeparator)
{
    const std::vector<FolderGroup> groups = folderGroups(table);
    std::vector<int> ticked;
    for (int row = 0; row < table.recordCount(); ++row)
        if (table.record(row).ticked)
            ticked.push_back(row);
    out += "{\n  " + key(generatorKey) + jsonString(QStringLiteral("Quillon " QUILLON_VERSION));
    out += ",\n  " + key(linksKey);
    appendLinks(out, table, groups, ticked, 1);
    out += ",\n  " + key(foldersKey);
    appendFolders(out, table, groups, folderSeparator);
    out += "\n}\n";
}

bool startsJsonList(QByteArrayView line)
{
    return line.startsWith('{');
}

std::optional<std::vector<ListedLink>> readJsonList(QByteArrayView text, QString &error)
{
    // Qt's parser drops a U+FEFF at the start of a string, as if it were a byte-order mark;
    // as an escape it keeps it.
    QByteArray json = text.toByteArray();
    json.replace("\xEF\xBB\xBF", "\\ufeff");
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    json.clear();
    if (document.isNull()) {
        error = QStringLiteral("its JSON is broken at byte %1: %2")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
        return std::nullopt;
    }
    const QJsonValue links = document.object().value(linksKey);
    if (!links.isArray()) {
        error = QStringLiteral("it has no \"links\" list");
        return std::nullopt;
    }
    std::vector<ListedLink> found;
    for (const QJsonValue &value : links.toArray()) {
        const QJsonObject link = value.toObject();
        if (!link.value(siteKey).isString() || !link.value(addressKey).isString()) {
            error =
                QStringLiteral("link %1 is not a link as Quillon writes it").arg(found.size() + 1);
            return std::nullopt;
        }
        found.push_back({link.value(addressKey).toString(), link.value(siteKey).toString()});
    }
    return found;
}

} // namespace quillon
