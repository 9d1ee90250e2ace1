#include "scan/favoriteswalk.h"

#include "links/linktable.h"
#include "links/scriptaddress.h"
#include "scan/filesystem.h"
#include "scan/shortcutfile.h"
#include "scan/shortcutreader.h"

#include <QElapsedTimer>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace quillon {

namespace {

constexpr int ShortcutsBetweenReports = 256;
// While waiting for a slow file system the caller still hears from the walk this often, so that
// a window can repaint and stop.
constexpr auto ReportWhileWaiting = std::chrono::milliseconds(100);
// Reads per task grow until a task takes about this long: handing tasks to threads then costs
// little beside fast local reads, while slow reads still spread over every thread.
constexpr qint64 TaskTargetNs = 200'000;
constexpr qsizetype MaxReadsPerTask = 64;
// Reads faster than this come from memory or a local disk: threads would only add hand-over
// costs, so tasks then run on the walk's own thread until reads slow down again.
constexpr qint64 ThreadsFromNs = 40'000;
// Parents opened again to open their sub-folders, kept open for the siblings that follow.
constexpr size_t KeptParents = 4;

struct Shortcut {
    qsizetype entry = 0; // in the folder's entries
    ShortcutFormat format{};
    ShortcutContent content;        // written by a read task
    std::optional<qint64> fileTime; // written by a read task
    bool done = false;              // the walk's own mark, once the read task reported
};

// One folder of the walk, in breadth-first order.
struct Folder {
    Folder(Folder *parent_, QString name_, QString path_)
        : parent(parent_)
        , name(std::move(name_))
        , path(std::move(path_))
    {}

    Folder *const parent;
    const QString name; // in the parent folder
    const QString path; // ends in the separator

    // Opening: a folder is opened relative to its parent, which is opened again when it is no
    // longer held open anywhere.
    std::mutex openMutex;
    std::weak_ptr<OpenFolder> whileOpen;

    // Written by the listing task, then read-only until the folder is done.
    std::shared_ptr<OpenFolder> handle;
    std::optional<QList<DirEntry>> entries;
    std::vector<Shortcut> shortcuts;
    QStringList subFolders;

    // The walk's own progress through the folder.
    bool listed = false;
    bool counted = false;
    qsizetype readsDispatched = 0;
    qsizetype emitted = 0;
};

struct Event {
    Folder *folder;
    qsizetype first = 0; // reads first..first+count done; count < 0: the listing is done
    qsizetype count = -1;
    qint64 elapsedNs = 0;
};

// Lists folders and reads shortcuts on a pool of threads, as many at once as the file system
// allows, and appends the records in exactly the order of a one-by-one breadth-first walk.
class Walker {
public:
    Walker(const FileSystem &fs, qsizetype prefixLength, LinkTable &table,
           const WalkProgressCallback &progress)
        : m_fs(fs)
        , m_prefixLength(prefixLength)
        , m_table(table)
        , m_progress(progress)
        , m_concurrency(std::max(fs.concurrency(), 1))
        , m_maxOpenFolders(m_concurrency == 1 ? 1 : std::max(4, m_concurrency / 2))
    {
        if (m_concurrency > 1) {
            m_pool.emplace();
            m_pool->setMaxThreadCount(m_concurrency);
        }
    }

    WalkResult walk(QString start)
    {
        m_folders.emplace_back(nullptr, QString(), std::move(start));
        while (m_emitFolder < m_folders.size()) {
            dispatch();
            if (!takeEvents() || !emitReady()) {
                stop();
                break;
            }
        }
        return m_result;
    }

private:
    bool report()
    {
        if (m_progress && !m_progress(m_result.progress))
            m_result.stopped = true;
        return !m_result.stopped;
    }

    void run(std::function<void()> task)
    {
        ++m_inFlight;
        if (m_pool && !m_fastReads)
            m_pool->start(std::move(task));
        else
            task();
    }

    void post(const Event &event)
    {
        {
            const std::lock_guard lock(m_eventMutex);
            m_events.push_back(event);
        }
        m_eventReady.notify_one();
    }

    void dispatch()
    {
        // Listings run ahead of the reads, with only a few folders open at once.
        while (m_nextToList < m_folders.size() && m_openFolders < m_maxOpenFolders) {
            Folder &folder = m_folders[m_nextToList++];
            ++m_openFolders;
            run([this, &folder] { list(folder); });
        }
        // Reads go in walk order, a bounded number ahead of the records appended.
        const qsizetype window = 2 * m_concurrency * m_readsPerTask;
        while (m_readFolder < m_folders.size() && m_folders[m_readFolder].listed) {
            Folder &folder = m_folders[m_readFolder];
            const qsizetype left = qsizetype(folder.shortcuts.size()) - folder.readsDispatched;
            if (left == 0) {
                ++m_readFolder;
                continue;
            }
            const qsizetype count = std::min(left, m_readsPerTask);
            if (m_readsAhead > 0 && m_readsAhead + count > window)
                break;
            const qsizetype first = folder.readsDispatched;
            folder.readsDispatched += count;
            m_readsAhead += count;
            run([this, &folder, first, count] { read(folder, first, count); });
        }
    }

    // Waits for at least one task to report, unless one has already; false when the caller
    // asked to stop meanwhile.
    bool takeEvents()
    {
        std::vector<Event> events;
        {
            std::unique_lock lock(m_eventMutex);
            while (m_events.empty() && m_inFlight > 0) {
                if (m_eventReady.wait_for(lock, ReportWhileWaiting) == std::cv_status::timeout &&
                    m_events.empty()) {
                    lock.unlock();
                    if (!report())
                        return false;
                    lock.lock();
                }
            }
            events.swap(m_events);
        }
        for (const Event &event : events) {
            --m_inFlight;
            Folder &folder = *event.folder;
            if (event.count < 0) {
                folder.listed = true;
                continue;
            }
            for (qsizetype i = event.first; i < event.first + event.count; ++i)
                folder.shortcuts[size_t(i)].done = true;
            if (event.count > 0) {
                const qint64 perRead = std::max<qint64>(event.elapsedNs / event.count, 1);
                m_readsPerTask = std::clamp<qsizetype>(TaskTargetNs / perRead, 1, MaxReadsPerTask);
                m_fastReads = perRead < ThreadsFromNs;
            }
        }
        // Sub-folders join the walk in the order of their parents, once all before are listed.
        while (m_queuedCursor < m_folders.size() && m_folders[m_queuedCursor].listed) {
            Folder &parent = m_folders[m_queuedCursor++];
            for (const QString &name : std::as_const(parent.subFolders))
                m_folders.emplace_back(&parent, name, parent.path + name + m_fs.separator());
            parent.subFolders.clear();
        }
        return true;
    }

    // Appends the records known so far, in order; false when the caller asked to stop.
    bool emitReady()
    {
        while (m_emitFolder < m_folders.size()) {
            Folder &folder = m_folders[m_emitFolder];
            if (!folder.listed)
                return true;
            if (!folder.counted) {
                folder.counted = true;
                ++(folder.entries ? m_result.progress.foldersListed
                                  : m_result.progress.foldersSkipped);
            }
            while (folder.emitted < qsizetype(folder.shortcuts.size())) {
                Shortcut &shortcut = folder.shortcuts[size_t(folder.emitted)];
                if (!shortcut.done)
                    return true;
                ++folder.emitted;
                --m_readsAhead;
                if (append(folder, shortcut) &&
                    ++m_result.progress.shortcutsFound % ShortcutsBetweenReports == 0 && !report())
                    return false;
            }
            // Done with the folder: let go of it before the caller hears of it.
            folder.handle.reset();
            folder.entries.reset();
            folder.shortcuts = {};
            --m_openFolders;
            ++m_emitFolder;
            if (!report())
                return false;
        }
        return true;
    }

    bool append(const Folder &folder, Shortcut &shortcut)
    {
        if (!shortcut.content.isLink)
            return false;
        LinkRecord record;
        // Every record of a folder shares the one folder name; only the first carries it.
        const QString folderName = folder.path.size() > m_prefixLength
                                       ? folder.path.sliced(m_prefixLength).chopped(1)
                                       : QString();
        if (!folderName.isEmpty() && folderName != m_lastFolderName) {
            record.FolderName = folderName;
            m_lastFolderName = folderName;
        }
        // Script links are never published by accident: they start unticked.
        record.Selected = !isScriptAddress(shortcut.content.address);
        record.URL = shortcut.content.address;
        record.modifiedAt =
            shortcut.content.modifiedAt ? shortcut.content.modifiedAt : shortcut.fileTime;
        record.SiteName =
            siteNameOf((*folder.entries)[shortcut.entry].name, shortcut.format, shortcut.content);
        m_table.append(std::move(record));
        return true;
    }

    void stop()
    {
        m_stopping = true;
        while (m_inFlight > 0) {
            std::unique_lock lock(m_eventMutex);
            m_eventReady.wait(lock, [this] { return !m_events.empty(); });
            m_inFlight -= int(m_events.size());
            m_events.clear();
        }
    }

    // Opens a folder relative to its parent, opening the parent again when it is no longer
    // open; a parent opened again is kept for a while, as its other sub-folders follow. Runs on a
    // pool thread (or the walk's own, without a pool).
    std::shared_ptr<OpenFolder> open(Folder &folder, bool asParent)
    {
        const std::lock_guard lock(folder.openMutex);
        if (auto opened = folder.whileOpen.lock())
            return opened;
        std::shared_ptr<OpenFolder> opened;
        if (!folder.parent) {
            opened = m_fs.openFolder(folder.path);
            m_start = opened; // the anchor of every folder below
        } else if (const auto parent = open(*folder.parent, true)) {
            opened = parent->openFolder(folder.name);
        }
        folder.whileOpen = opened;
        if (asParent && opened && folder.parent) {
            std::shared_ptr<OpenFolder> oldest;
            const std::lock_guard keptLock(m_keptMutex);
            m_kept.push_back(opened);
            if (m_kept.size() > KeptParents) {
                oldest = std::move(m_kept.front());
                m_kept.pop_front();
            }
        }
        return opened;
    }

    void list(Folder &folder)
    {
        if (!m_stopping) {
            auto opened = open(folder, false);
            if (opened)
                folder.entries = opened->list();
            if (folder.entries) {
                folder.handle = std::move(opened);
                const QList<DirEntry> &entries = *folder.entries;
                for (qsizetype i = 0; i < entries.size(); ++i) {
                    const DirEntry &entry = entries[i];
                    if (entry.name == u"." || entry.name == u"..")
                        continue;
                    if (entry.kind == EntryKind::Folder)
                        folder.subFolders.append(entry.name);
                    else if (entry.kind == EntryKind::FolderLink)
                        continue; // never followed
                    else if (const auto format = shortcutFormatOf(entry.name))
                        folder.shortcuts.push_back(Shortcut{i, *format, {}, {}, false});
                }
            }
        }
        post(Event{&folder});
    }

    void read(Folder &folder, qsizetype first, qsizetype count)
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray buffer;
        for (qsizetype i = first; i < first + count && !m_stopping; ++i) {
            Shortcut &shortcut = folder.shortcuts[size_t(i)];
            const DirEntry &entry = (*folder.entries)[shortcut.entry];
            std::optional<FileHead> head;
            if (entry.kind == EntryKind::File || entry.kind == EntryKind::FileLink)
                head = folder.handle->readFile(entry, ShortcutReadLimit, buffer);
            shortcut.content = readShortcutContent(
                shortcut.format,
                head ? std::optional<QByteArray>(std::move(head->bytes)) : std::nullopt);
            if (head)
                shortcut.fileTime = head->modifiedAt;
        }
        post(Event{&folder, first, count, clock.nsecsElapsed()});
    }

    const FileSystem &m_fs;
    const qsizetype m_prefixLength;
    LinkTable &m_table;
    const WalkProgressCallback &m_progress;
    const int m_concurrency;
    const int m_maxOpenFolders;

    WalkResult m_result;
    QString m_lastFolderName;
    std::deque<Folder> m_folders; // every folder met, in walk order; stable addresses
    std::shared_ptr<OpenFolder> m_start;
    std::mutex m_keptMutex;
    std::deque<std::shared_ptr<OpenFolder>> m_kept; // parents opened again, newest last

    size_t m_nextToList = 0;   // the next folder to list
    size_t m_queuedCursor = 0; // folders before it have their sub-folders in m_folders
    size_t m_readFolder = 0;   // the first folder with reads not yet handed out
    size_t m_emitFolder = 0;   // the first folder with records not yet appended
    int m_openFolders = 0;
    qsizetype m_readsAhead = 0; // reads handed out whose records are not appended yet
    qsizetype m_readsPerTask = 1;
    bool m_fastReads = false; // the last reads were fast: tasks run on this thread
    int m_inFlight = 0;
    std::atomic<bool> m_stopping = false;

    std::mutex m_eventMutex;
    std::condition_variable m_eventReady;
    std::vector<Event> m_events;

    // Last, so that it is destroyed first: its threads finish before what they use goes away.
    std::optional<QThreadPool> m_pool;
};

} // namespace

WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder, qsizetype prefixLength,
                         LinkTable &table, const WalkProgressCallback &progress)
{
    QString start = startFolder;
    if (!start.endsWith(fs.separator()))
        start += fs.separator();
    return Walker(fs, prefixLength, table, progress).walk(std::move(start));
}

} // namespace quillon
