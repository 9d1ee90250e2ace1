#pragma once

#include <QString>

#include <vector>

namespace quillon {

class LinkTable;

// One folder's consecutive run of records: [firstRow, endRow). The start folder's own records
// form a group with an empty folder name; every other group is opened by the record that
// carries its name, so a group keeps its name whatever is ticked.
struct FolderGroup {
    int firstRow = 0;
    int endRow = 0;
    QString folderName;
};

std::vector<FolderGroup> folderGroups(const LinkTable &table);

// The group that holds a row; an empty group {0, 0} for a row that does not exist.
FolderGroup folderGroupOf(const LinkTable &table, int row);

} // namespace quillon
