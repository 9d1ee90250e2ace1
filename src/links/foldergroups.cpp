#include "links/foldergroups.h"

#include "links/linktable.h"

namespace quillon {

std::vector<FolderGroup> folderGroups(const LinkTable &table)
{
    std::vector<FolderGroup> groups;
    for (int row = 0; row < table.recordCount(); ++row) {
        const LinkRecord &record = table.record(row);
        if (groups.empty() || record.opensFolderGroup()) {
            if (!groups.empty())
                groups.back().endRow = row;
            groups.push_back({row, row, record.opensFolderGroup() ? record.folderName : QString()});
        }
    }
    if (!groups.empty())
        groups.back().endRow = table.recordCount();
    return groups;
}

FolderGroup folderGroupOf(const LinkTable &table, int row)
{
    if (row < 0 || row >= table.recordCount())
        return {};
    int first = row;
    while (first > 0 && !table.record(first).opensFolderGroup())
        --first;
    int end = row + 1;
    while (end < table.recordCount() && !table.record(end).opensFolderGroup())
        ++end;
    const LinkRecord &opener = table.record(first);
    return {first, end, opener.opensFolderGroup() ? opener.folderName : QString()};
}

} // namespace quillon
