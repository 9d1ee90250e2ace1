#pragma once

#include "scan/filesystem.h"
#include "shortcuts/shortcutfile.h"

#include <QStringList>

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace quillon {

// A shortcut met by the walk, and what reading it gave.
struct WalkShortcut {
    DirEntry entry;
    ShortcutFormat format{};
    ShortcutContent content;        // written by the read task
    std::optional<qint64> fileTime; // written by the read task
    bool done = false;              // the walk's own mark, once the read task reported
};

// One folder of the walk. The listing task fills it in; afterwards it is read-only for tasks.
struct WalkFolder {
    WalkFolder(WalkFolder *parent_, QString name_, QString path_)
        : parent(parent_)
        , name(std::move(name_))
        , path(std::move(path_))
    {}

    WalkFolder *const parent;
    const QString name; // in the parent folder
    const QString path; // ends in the separator

    // Written by the listing task.
    bool listable = false;
    std::shared_ptr<OpenFolder> handle; // while its shortcuts are read
    std::vector<WalkShortcut> shortcuts;
    QStringList subFolders;

    // The walk's own progress through the folder.
    bool listed = false;
    bool counted = false;
    qsizetype readsDispatched = 0;
    qsizetype handedOn = 0;

private:
    friend class FolderOpener;
    std::mutex m_openMutex;
    std::weak_ptr<OpenFolder> m_whileOpen;
};

// Opens the walk's folders, each relative to its parent so that no link is followed on the way.
// Only a few folders stay open: a parent no longer open anywhere is opened again, relative to its
// own parent, and kept for a while, as its other sub-folders follow. Safe on several threads.
class FolderOpener {
public:
    explicit FolderOpener(const FileSystem &fs)
        : m_fs(fs)
    {}

    std::shared_ptr<OpenFolder> open(WalkFolder &folder) { return open(folder, false); }

private:
    std::shared_ptr<OpenFolder> open(WalkFolder &folder, bool asParent);

    const FileSystem &m_fs;
    std::shared_ptr<OpenFolder> m_start; // the anchor of every folder below
    std::mutex m_keptMutex;
    std::deque<std::shared_ptr<OpenFolder>> m_kept; // parents opened again, newest last
};

} // namespace quillon
