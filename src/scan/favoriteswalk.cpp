#include "scan/favoriteswalk.h"

#include "scan/filesystem.h"
#include "scan/inorderhandover.h"
#include "scan/walkfolder.h"
#include "scan/walkscheduler.h"
#include "shortcuts/shortcutfile.h"
#include "shortcuts/shortcutreader.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <vector>

namespace quillon {

namespace {

// Lists folders and reads shortcuts as tasks, as many at once as the file system allows, and
// hands the shortcuts on in exactly the order of a one-by-one breadth-first walk: the scheduler
// decides where tasks run, the hand-over keeps the order; this decides what the tasks are.
class Walker {
public:
    Walker(const FileSystem &fs, qsizetype prefixLength, ShortcutSink &sink,
           const WalkProgressCallback &progress)
        : m_fs(fs)
        , m_handOver(m_folders, prefixLength, fs.separator(), sink, progress)
        , m_maxOpenFolders(fs.concurrency() <= 1 ? 1 : std::max(4, fs.concurrency() / 2))
        , m_scheduler(fs.concurrency())
    {}

    WalkResult walk(QString start)
    {
        m_folders.emplace_back(nullptr, QString(), std::move(start));
        std::vector<TaskReport> reports;
        const auto report = [this] {
            return m_handOver.report();
        };
        while (!m_handOver.done()) {
            dispatch();
            if (!m_scheduler.takeFinished(reports, report)) {
                stop();
                break;
            }
            takeReports(reports);
            if (!m_handOver.handOnReady()) {
                stop();
                break;
            }
        }
        return m_handOver.result();
    }

private:
    void dispatch()
    {
        // Listings run ahead of the reads, with only a few folders open at once.
        while (m_nextToList < m_folders.size() &&
               m_nextToList - m_handOver.foldersDone() < size_t(m_maxOpenFolders)) {
            WalkFolder &folder = m_folders[m_nextToList++];
            m_scheduler.run([this, &folder] { list(folder); });
        }
        // Reads go in walk order, a bounded number ahead of the shortcuts handed on.
        const qsizetype readsPerTask = m_scheduler.readsPerTask();
        const qsizetype window = 2 * m_scheduler.concurrency() * readsPerTask;
        while (m_readFolder < m_folders.size() && m_folders[m_readFolder].listed) {
            WalkFolder &folder = m_folders[m_readFolder];
            const qsizetype left = qsizetype(folder.shortcuts.size()) - folder.readsDispatched;
            if (left == 0) {
                ++m_readFolder;
                continue;
            }
            const qsizetype count = std::min(left, readsPerTask);
            const qsizetype ahead = m_readsDispatched - m_handOver.shortcutsDone();
            if (ahead > 0 && ahead + count > window)
                break;
            const qsizetype first = folder.readsDispatched;
            folder.readsDispatched += count;
            m_readsDispatched += count;
            m_scheduler.run([this, &folder, first, count] { read(folder, first, count); });
        }
    }

    void takeReports(const std::vector<TaskReport> &reports)
    {
        for (const TaskReport &report : reports) {
            WalkFolder &folder = *report.folder;
            if (report.count < 0) {
                folder.listed = true;
                continue;
            }
            for (qsizetype i = report.first; i < report.first + report.count; ++i)
                folder.shortcuts[size_t(i)].done = true;
        }
        // Sub-folders join the walk in the order of their parents, once all before are listed.
        while (m_queuedCursor < m_folders.size() && m_folders[m_queuedCursor].listed) {
            WalkFolder &parent = m_folders[m_queuedCursor++];
            for (const QString &name : std::as_const(parent.subFolders))
                m_folders.emplace_back(&parent, name, parent.path + name + m_fs.separator());
            QStringList().swap(parent.subFolders); // clear() would keep the room
        }
    }

    void stop()
    {
        m_stopping = true;
        m_scheduler.drain();
    }

    void list(WalkFolder &folder)
    {
        const TaskClock clock;
        std::optional<QList<DirEntry>> entries;
        if (!m_stopping) {
            auto opened = m_opener.open(folder);
            if (opened)
                entries = opened->list();
            if (entries) {
                folder.listable = true;
                folder.handle = std::move(opened);
            }
        }
        if (entries) {
            folder.shortcuts.reserve(size_t(entries->size()));
            for (DirEntry &entry : *entries) {
                if (entry.name == u"." || entry.name == u"..")
                    continue;
                if (entry.kind == EntryKind::Folder)
                    folder.subFolders.append(std::move(entry.name));
                else if (entry.kind == EntryKind::FolderLink)
                    continue; // never followed
                else if (const auto format = shortcutFormatOf(entry.name))
                    folder.shortcuts.push_back(
                        WalkShortcut{std::move(entry), *format, {}, {}, false});
            }
        }
        m_scheduler.finished(TaskReport{&folder, 0, -1, clock.elapsedNs(), clock.waitedNs()});
    }

    void read(WalkFolder &folder, qsizetype first, qsizetype count)
    {
        const TaskClock clock;
        QByteArray buffer;
        for (qsizetype i = first; i < first + count && !m_stopping; ++i) {
            WalkShortcut &shortcut = folder.shortcuts[size_t(i)];
            const DirEntry &entry = shortcut.entry;
            std::optional<FileHead> head;
            if (entry.kind == EntryKind::File || entry.kind == EntryKind::FileLink)
                head = folder.handle->readFile(entry, ShortcutReadLimit, buffer);
            shortcut.content = readShortcutContent(
                shortcut.format,
                head ? std::optional<QByteArray>(std::move(head->bytes)) : std::nullopt);
            if (head)
                shortcut.fileTime = head->modifiedAt;
        }
        m_scheduler.finished(
            TaskReport{&folder, first, count, clock.elapsedNs(), clock.waitedNs()});
    }

    const FileSystem &m_fs;
    std::deque<WalkFolder> m_folders; // every folder met, in walk order; stable addresses
    FolderOpener m_opener{m_fs};
    InOrderHandOver m_handOver;

    size_t m_nextToList = 0;   // the next folder to list
    size_t m_queuedCursor = 0; // folders before it have their sub-folders in m_folders
    size_t m_readFolder = 0;   // the first folder with reads not yet handed out
    qsizetype m_readsDispatched = 0;
    std::atomic<bool> m_stopping = false;
    const int m_maxOpenFolders;

    // Last, so that it is destroyed first: its tasks finish before what they use goes away.
    WalkScheduler m_scheduler;
};

} // namespace

WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder, qsizetype prefixLength,
                         ShortcutSink &sink, const WalkProgressCallback &progress)
{
    QString start = startFolder;
    if (!start.endsWith(fs.separator()))
        start += fs.separator();
    return Walker(fs, prefixLength, sink, progress).walk(std::move(start));
}

} // namespace quillon
