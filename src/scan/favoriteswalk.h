#pragma once

#include "links/linkrows.h"

#include <QString>

#include <functional>

namespace quillon {

class FileSystem;

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

// Walks the tree below startFolder breadth first and hands every shortcut file it finds (of the
// kinds shortcutFormatOf knows, and that the reader found to be a link) to sink, in the order of
// a one-by-one walk: each folder's entries in listing order, then its sub-folders. A found
// shortcut names its folder relative to the walk's start: the folder path less its first
// prefixLength characters and less its closing separator; names come as shownFileName shows
// them. Folders are walked whatever their attributes; links to folders are never followed. A
// folder that cannot be listed is skipped, and a shortcut that cannot be read, or that is a link
// to a file outside the start folder, comes with an empty address: nothing ends the walk early
// but the callback.
WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder, qsizetype prefixLength,
                         ShortcutSink &sink, const WalkProgressCallback &progress = {});

// The same, appending a row by the table's rules for each found shortcut.
inline WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder,
                                qsizetype prefixLength, LinkTable &table,
                                const WalkProgressCallback &progress = {})
{
    TableSink sink(table);
    return walkFavorites(fs, startFolder, prefixLength, sink, progress);
}

} // namespace quillon
