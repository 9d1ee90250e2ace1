#pragma once

#include "scan/favoriteswalk.h"
#include "scan/walkfolder.h"

#include <deque>

namespace quillon {

// Hands the walk's found shortcuts to a sink in exactly the order of a one-by-one breadth-first
// walk, however the reads finish, and tells the caller how far it got. Folders are let go of
// once handed on. Used on the walk's own thread only.
class InOrderHandOver {
public:
    InOrderHandOver(std::deque<WalkFolder> &folders, qsizetype prefixLength, QChar separator,
                    ShortcutSink &sink, const WalkProgressCallback &progress);

    // Hands on every shortcut whose turn has come; false when the caller asked to stop.
    bool handOnReady();
    // Tells the caller the progress; false when it asked to stop.
    bool report();

    bool done() const { return m_folder == m_folders.size(); }
    size_t foldersDone() const { return m_folder; }
    qsizetype shortcutsDone() const { return m_shortcuts; } // handed on or found to be no link
    const WalkResult &result() const { return m_result; }

private:
    void handOn(WalkFolder &folder, WalkShortcut &shortcut);

    std::deque<WalkFolder> &m_folders;
    const qsizetype m_prefixLength;
    const QChar m_separator;
    ShortcutSink &m_sink;
    const WalkProgressCallback &m_progress;

    WalkResult m_result;
    size_t m_folder = 0; // the first folder not handed on whole
    qsizetype m_shortcuts = 0;
    QString m_folderName;       // of the folder being handed on, relative to the start
    bool m_folderNamed = false; // m_folderName is that folder's
};

} // namespace quillon
