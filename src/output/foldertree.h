#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;

// One folder of a written tree: the start folder, or a folder that holds a ticked record
// somewhere below it.
struct TreeFolder {
    QString name;                   // its own name, the last part of the grid's folder name
    std::vector<int> rows;          // its own ticked records, in table order
    std::vector<int> children;      // indexes of its sub-folders, in listing order
    std::optional<qint64> earliest; // of the modifiedAt dates of the records written below it
    std::optional<qint64> latest;
};

// The ticked records of table as nested folders: a folder name "A<separator>B" is folder B in
// folder A. Index 0 is the start folder, even when nothing is ticked; a folder without a ticked
// record below it is left out. Sub-folders sit in the listing order of their names at every
// level, as on disk, whether or not they hold records of their own. A folder always comes
// after its parent, so walking the indexes backwards meets every child before its parent.
std::vector<TreeFolder> folderTree(const LinkTable &table, QChar separator);

} // namespace quillon
