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

} // namespace quillon
