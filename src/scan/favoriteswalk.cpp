#include "scan/favoriteswalk.h"

#include "links/foundshortcut.h"
#include "scan/filesystem.h"
#include "scan/taskpool.h"
#include "scan/walkfolder.h"
#include "shortcuts/shortcutfile.h"
#include "shortcuts/shortcutreader.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
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
// Reads that wait less than this for the file system (time not spent on a processor) come from
// memory or a local disk: threads would only add hand-over costs, so tasks then run on the
// walk's own thread until reads wait longer again.
constexpr qint64 ThreadsFromWaitNs = 40'000;

// The processor time of the calling thread, where the system tells it; else 0, and all of a
// task's time counts as waiting.
qint64 threadProcessorNs()
{
#ifdef Q_OS_UNIX
    timespec now{};
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0)
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
#endif
    return 0;
}

// How long a task took, and how much of that it waited rather than ran.
class TaskClock {
public:
    TaskClock() { m_clock.start(); }
    qint64 elapsedNs() const { return m_clock.nsecsElapsed(); }
    qint64 waitedNs() const
    {
        return std::max<qint64>(elapsedNs() - (threadProcessorNs() - m_processorAtStart), 0);
    }

private:
    QElapsedTimer m_clock;
    qint64 m_processorAtStart = threadProcessorNs();
};
struct Event {
    WalkFolder *folder;
    qsizetype first = 0; // reads first..first+count done; count < 0: the listing is done
    qsizetype count = -1;
    qint64 elapsedNs = 0;
    qint64 waitedNs = 0; // of elapsedNs, the time not spent on a processor
};

// Lists folders and reads shortcuts on a pool of threads, as many at once as the file system
// allows, and appends the records in exactly the order of a one-by-one breadth-first walk.
class Walker {
public:
    Walker(const FileSystem &fs, qsizetype prefixLength, ShortcutSink &sink,
           const WalkProgressCallback &progress)
        : m_fs(fs)
        , m_prefixLength(prefixLength)
        , m_sink(sink)
        , m_progress(progress)
        , m_concurrency(std::max(fs.concurrency(), 1))
        , m_maxOpenFolders(m_concurrency == 1 ? 1 : std::max(4, m_concurrency / 2))
    {
        if (m_concurrency > 1)
            m_pool.emplace(m_concurrency);
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
            WalkFolder &folder = m_folders[m_nextToList++];
            ++m_openFolders;
            run([this, &folder] { list(folder); });
        }
        // Reads go in walk order, a bounded number ahead of the records appended.
        const qsizetype window = 2 * m_concurrency * m_readsPerTask;
        while (m_readFolder < m_folders.size() && m_folders[m_readFolder].listed) {
            WalkFolder &folder = m_folders[m_readFolder];
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
            WalkFolder &folder = *event.folder;
            if (event.count < 0) {
                folder.listed = true;
                noteWait(event.waitedNs); // a listing waits about as long as a read
                continue;
            }
            for (qsizetype i = event.first; i < event.first + event.count; ++i)
                folder.shortcuts[size_t(i)].done = true;
            if (event.count > 0) {
                const qint64 perRead = std::max<qint64>(event.elapsedNs / event.count, 1);
                m_readsPerTask = std::clamp<qsizetype>(TaskTargetNs / perRead, 1, MaxReadsPerTask);
                noteWait(event.waitedNs / event.count);
            }
        }
        // Sub-folders join the walk in the order of their parents, once all before are listed.
        while (m_queuedCursor < m_folders.size() && m_folders[m_queuedCursor].listed) {
            WalkFolder &parent = m_folders[m_queuedCursor++];
            for (const QString &name : std::as_const(parent.subFolders))
                m_folders.emplace_back(&parent, name, parent.path + name + m_fs.separator());
            parent.subFolders.clear();
        }
        return true;
    }

    void noteWait(qint64 waitedNs)
    {
        m_waitPerRead = m_waitPerRead < 0 ? waitedNs : (3 * m_waitPerRead + waitedNs) / 4;
        m_fastReads = m_waitPerRead < ThreadsFromWaitNs;
    }

    // Appends the records known so far, in order; false when the caller asked to stop.
    bool emitReady()
    {
        while (m_emitFolder < m_folders.size()) {
            WalkFolder &folder = m_folders[m_emitFolder];
            if (!folder.listed)
                return true;
            if (!folder.counted) {
                folder.counted = true;
                ++(folder.listable ? m_result.progress.foldersListed
                                   : m_result.progress.foldersSkipped);
            }
            while (folder.emitted < qsizetype(folder.shortcuts.size())) {
                WalkShortcut &shortcut = folder.shortcuts[size_t(folder.emitted)];
                if (!shortcut.done)
                    return true;
                ++folder.emitted;
                --m_readsAhead;
                if (append(folder, shortcut) &&
                    ++m_result.progress.shortcutsFound % ShortcutsBetweenReports == 0 && !report())
                    return false;
            }
            // Done with the folder: let go of it before the caller hears of it.
            m_folderNamed = false;
            folder.handle.reset();
            folder.shortcuts = {};
            --m_openFolders;
            ++m_emitFolder;
            if (!report())
                return false;
        }
        return true;
    }

    bool append(WalkFolder &folder, WalkShortcut &shortcut)
    {
        if (!shortcut.content.isLink)
            return false;
        // Every shortcut of a folder shares the one relative name.
        if (!m_folderNamed) {
            m_folderNamed = true;
            m_folderName = folder.path.size() > m_prefixLength
                               ? folder.path.sliced(m_prefixLength).chopped(1)
                               : QString();
        }
        m_sink.take(FoundShortcut{m_folderName, std::move(shortcut.entry.name), shortcut.format,
                                  std::move(shortcut.content), shortcut.fileTime});
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
        post(Event{&folder, 0, -1, clock.elapsedNs(), clock.waitedNs()});
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
        post(Event{&folder, first, count, clock.elapsedNs(), clock.waitedNs()});
    }

    const FileSystem &m_fs;
    const qsizetype m_prefixLength;
    ShortcutSink &m_sink;
    const WalkProgressCallback &m_progress;
    const int m_concurrency;
    const int m_maxOpenFolders;

    WalkResult m_result;
    QString m_folderName;             // of the folder being handed on, relative to the start
    bool m_folderNamed = false;       // m_folderName is that folder's
    std::deque<WalkFolder> m_folders; // every folder met, in walk order; stable addresses
    FolderOpener m_opener{m_fs};

    size_t m_nextToList = 0;   // the next folder to list
    size_t m_queuedCursor = 0; // folders before it have their sub-folders in m_folders
    size_t m_readFolder = 0;   // the first folder with reads not yet handed out
    size_t m_emitFolder = 0;   // the first folder with records not yet appended
    int m_openFolders = 0;
    qsizetype m_readsAhead = 0; // reads handed out whose records are not appended yet
    qsizetype m_readsPerTask = 1;
    qint64 m_waitPerRead = -1; // a running mean; -1 until reads are done
    // The last tasks hardly waited: tasks run on this thread. The walk starts so: the start
    // folder's listing is measured without the walk's own threads competing for processors.
    bool m_fastReads = true;
    int m_inFlight = 0;
    std::atomic<bool> m_stopping = false;

    std::mutex m_eventMutex;
    std::condition_variable m_eventReady;
    std::vector<Event> m_events;

    // Last, so that it is destroyed first: its threads finish before what they use goes away.
    std::optional<TaskPool> m_pool;
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
