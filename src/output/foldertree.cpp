#include "output/foldertree.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "links/listingorder.h"

#include <QHash>

#include <algorithm>

namespace quillon {

namespace {

void noteDate(TreeFolder &folder, qint64 date)
{
    folder.earliest = std::min(folder.earliest.value_or(date), date);
    folder.latest = std::max(folder.latest.value_or(date), date);
}

// Puts each folder's sub-folders into the listing order of their names; the table has them in
// the order they were first met, where a folder without records of its own comes late.
void sortChildren(std::vector<TreeFolder> &folders)
{
    QStringList names;
    for (TreeFolder &folder : folders) {
        if (folder.children.size() < 2)
            continue;
        names.clear();
        for (const int child : folder.children)
            names.append(folders[size_t(child)].name);
        std::vector<int> sorted;
        sorted.reserve(folder.children.size());
        for (const qsizetype i : listingOrder(names))
            sorted.push_back(folder.children[size_t(i)]);
        folder.children = std::move(sorted);
    }
}

} // namespace

std::vector<TreeFolder> folderTree(const LinkTable &table, QChar separator)
{
    std::vector<TreeFolder> folders(1); // the start folder
    QHash<QString, int> byPath;
    std::vector<int> path;
    for (const FolderGroup &group : folderGroups(table)) {
        std::vector<int> ticked;
        for (int row = group.firstRow; row < group.endRow; ++row)
            if (table.record(row).ticked)
                ticked.push_back(row);
        if (ticked.empty())
            continue;
        path.assign(1, 0);
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
                folders.push_back({part.toString(), {}, {}, {}, {}});
            }
            path.push_back(index);
        }
        TreeFolder &home = folders[size_t(path.back())];
        home.rows.insert(home.rows.end(), ticked.begin(), ticked.end());
        for (const int row : ticked)
            if (const std::optional<qint64> date = table.record(row).modifiedAt)
                for (const int index : path)
                    noteDate(folders[size_t(index)], *date);
    }
    sortChildren(folders);
    return folders;
}

} // namespace quillon
