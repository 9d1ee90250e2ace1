#pragma once

#include <QString>

#include <functional>

namespace quillon {

class FileSystem;
class LinkTable;

struct WalkProgress {
    int foldersListed = 0;
    int foldersSkipped = 0; // folders that could not be listed
    int shortcutsFound = 0;
};

// Called now and then during a walk (after every folder, and every few hundred shortcuts
// within a large one). Returning false stops the walk early.
using WalkProgressCallback = std::function<bool(const WalkProgress &)>;

struct WalkResult {
    WalkProgress progress;
    bool stopped = false; // the progress callback asked to stop
};

// Walks the tree below startFolder breadth first and appends one ticked record to table for
// every entry whose name ends in ".url" (exact case). The first record of each sub-folder
// carries the folder's path relative to the walk's start: the folder path less its first
// prefixLength characters and less its closing separator. Folders are walked whatever their
// attributes; links to folders are never followed. A folder that cannot be listed is skipped
// and a shortcut that cannot be read gets an empty address: nothing ends the walk early but
// the callback.
WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder, qsizetype prefixLength,
                         LinkTable &table, const WalkProgressCallback &progress = {});

} // namespace quillon
