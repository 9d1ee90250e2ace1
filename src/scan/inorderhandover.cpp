#include "scan/inorderhandover.h"

#include "scan/filenamecodec.h"
#include "scan/walktiming.h"

namespace quillon {

InOrderHandOver::InOrderHandOver(std::deque<WalkFolder> &folders, qsizetype prefixLength,
                                 QChar separator, ShortcutSink &sink,
                                 const WalkProgressCallback &progress)
    : m_folders(folders)
    , m_prefixLength(prefixLength)
    , m_separator(separator)
    , m_sink(sink)
    , m_progress(progress)
{}

bool InOrderHandOver::report()
{
    if (m_progress && !m_progress(m_result.progress))
        m_result.stopped = true;
    return !m_result.stopped;
}

bool InOrderHandOver::handOnReady()
{
    while (m_folder < m_folders.size()) {
        WalkFolder &folder = m_folders[m_folder];
        if (!folder.listed)
            return true;
        if (!folder.counted) {
            folder.counted = true;
            ++(folder.listable ? m_result.progress.foldersListed
                               : m_result.progress.foldersSkipped);
        }
        while (folder.handedOn < qsizetype(folder.shortcuts.size())) {
            WalkShortcut &shortcut = folder.shortcuts[size_t(folder.handedOn)];
            if (!shortcut.done)
                return true;
            ++folder.handedOn;
            ++m_shortcuts;
            if (!shortcut.content.isLink)
                continue;
            handOn(folder, shortcut);
            if (++m_result.progress.shortcutsFound % walktiming::ShortcutsBetweenReports == 0 &&
                !report())
                return false;
        }
        // Done with the folder: let go of it before the caller hears of it.
        m_folderNamed = false;
        folder.handle.reset();
        // Swapped, not assigned {}: that would keep the room, every folder's for the whole walk.
        std::vector<WalkShortcut>().swap(folder.shortcuts);
        ++m_folder;
        if (!report())
            return false;
    }
    return true;
}

void InOrderHandOver::handOn(WalkFolder &folder, WalkShortcut &shortcut)
{
    // Every shortcut of a folder shares the one relative name.
    if (!m_folderNamed) {
        m_folderNamed = true;
        m_folderName =
            folder.path.size() > m_prefixLength
                ? shownPath(QStringView(folder.path).sliced(m_prefixLength).chopped(1), m_separator)
                : QString();
    }
    m_sink.take(FoundShortcut{m_folderName, shownFileName(std::move(shortcut.entry.name)),
                              shortcut.format, std::move(shortcut.content), shortcut.fileTime});
}

} // namespace quillon
