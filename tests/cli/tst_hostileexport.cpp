// The exporter, and the window's Generate where the window is built, on trees built to hurt:
// cycles, special files, huge files, odd names, deep and wide folders. Each run must end in
// time, succeed, and write exactly the expected links.

#include "favoritestree.h"
#include "testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

#include <functional>

#ifdef QUILLON_TEST_WINDOW
#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "scan/hostfilesystem.h"
#include "scripteddialogs.h"

#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using quillon::test::FavoritesTree;

namespace {

// Far more than any of these trees needs, even in a sanitizer build on a busy machine.
constexpr int HangLimitMs = 180000;

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString exporterPath()
{
    return QStringLiteral(QUILLON_EXPORT_PATH);
}

Run runExport(const QString &folder, const QStringList &runAs = {})
{
    QProcess process;
    QStringList arguments = runAs;
    arguments << exporterPath() << folder;
    process.start(arguments.takeFirst(), arguments);
    process.closeWriteChannel();
    Run run;
    run.finished = process.waitForFinished(HangLimitMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray heading(const QByteArray &folder)
{
    return "<BR>\r\n<FONT SIZE='+1'><U><B>" + folder + "</B></U></FONT>\r\n<BR>\r\n";
}

QByteArray item(const QByteArray &site, const QByteArray &address = {})
{
    return "<LI><A HREF='" + address + "' target='_blank'>" + site + "</A><BR>\r\n";
}

QByteArray list(const QByteArray &items)
{
    return "<UL> \r\n" + items + "</UL> \r\n";
}

// For the tree builders, which return the expected list and so cannot use QVERIFY.
void must(bool ok, const char *what)
{
    if (!ok)
        QTest::qFail(what, __FILE__, __LINE__);
}

// Paths as bytes, so that names need not be valid UTF-8.
QByteArray at(const FavoritesTree &tree, const QByteArray &relative)
{
    return QFile::encodeName(tree.root()) + '/' + relative;
}

void writeRaw(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY2(fd >= 0, path.constData());
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

void symlinkAt(const FavoritesTree &tree, const char *target, const QByteArray &name)
{
    QVERIFY2(::symlink(target, at(tree, name).constData()) == 0, name.constData());
}

void socketAt(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(path.size()) < sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ::close(fd); // the socket file stays
}

QByteArray shortcut(const QByteArray &address)
{
    return FavoritesTree::shortcutBytes(QString::fromUtf8(address));
}

using Builder = std::function<QByteArray(const FavoritesTree &)>;

#ifdef QUILLON_TEST_WINDOW
// Ends the whole run when a step in this process takes longer than the limit: a hang inside
// the test process cannot be interrupted any other way.
class Watchdog {
public:
    Watchdog(int limitMs, const char *what)
        : m_thread([this, limitMs, what] {
            std::unique_lock lock(m_mutex);
            if (!m_woken.wait_for(lock, std::chrono::milliseconds(limitMs),
                                  [this] { return m_done; }))
                qFatal("%s did not finish in time", what);
        })
    {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_woken.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_done = false;
    std::thread m_thread; // last: starts once the members above exist
};

// Opens folder in the window, presses Generate, then Write To File as a .DAT file; the list
// written, or an empty array after a failed check.
QByteArray generateAndWriteInWindow(const QString &folder)
{
    using namespace quillon;
    const HostFileSystem fs;
    test::ScriptedDialogs dialogs;
    MainWindow window(dialogs, WindowEnvironment::host(fs));
    must(window.findChild<FolderList *>(QStringLiteral("Dir1"))->setPath(folder), "opened");
    QTemporaryDir out;
    dialogs.saveAnswers = {out.filePath(QStringLiteral("links.dat"))};
    {
        const Watchdog watchdog(HangLimitMs, "Generate in the window");
        window.generate();
        window.writeToFile();
    }
    const auto messages = dialogs.takeMessages();
    must(messages.size() == 1 && messages.first().title == u"Success",
         "Write To File reports success and nothing else");
    return test::readFileBytes(out.filePath(QStringLiteral("links.dat")));
}
#endif

} // namespace

Q_DECLARE_METATYPE(Builder)

class TestHostileExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void finishesWithExactlyTheExpectedLinks_data();
    void finishesWithExactlyTheExpectedLinks();
    void unreadableEntries_data();
    void unreadableEntries();
};

// Each row builds a tree and gives the list the exporter must write for it.
void TestHostileExport::finishesWithExactlyTheExpectedLinks_data()
{
    QTest::addColumn<Builder>("build");

    QTest::newRow("links to folders: a cycle, itself, the root")
        << Builder([](const FavoritesTree &tree) {
               tree.addShortcut(QStringLiteral("a.url"), QStringLiteral("http://a/"));
               tree.addShortcut(QStringLiteral("sub/b.url"), QStringLiteral("http://b/"));
               symlinkAt(tree, "..", "sub/up");
               symlinkAt(tree, ".", "sub/self");
               symlinkAt(tree, "/", "root");
               symlinkAt(tree, "/", "root.url"); // a link to a folder is never a shortcut
               return list(item("a", "http://a/") + heading("sub") + item("b", "http://b/"));
           });

    QTest::newRow("FIFO, socket, devices and a dangling link named .url")
        << Builder([](const FavoritesTree &tree) {
               tree.addShortcut(QStringLiteral("real.url"), QStringLiteral("http://real/"));
               must(::mkfifo(at(tree, "fifo.url").constData(), 0644) == 0, "mkfifo");
               socketAt(at(tree, "socket.url"));
               symlinkAt(tree, "/dev/zero", "zero.url");
               symlinkAt(tree, "/dev/urandom", "urandom.url");
               symlinkAt(tree, "/dev/tty", "tty.url");
               symlinkAt(tree, "fifo.url", "to-fifo.url");
               symlinkAt(tree, "nowhere", "dangling.url");
               QByteArray expected = item("dangling") + item("fifo");
               // A device node of its own where the machine lets us make one.
               if (::mknod(at(tree, "null.url").constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
                   expected += item("null");
               return list(expected + item("real", "http://real/") + item("socket") +
                           item("to-fifo") + item("tty") + item("urandom") + item("zero"));
           });

    QTest::newRow("50 MB on one line") << Builder([](const FavoritesTree &tree) {
        tree.addFile(QStringLiteral("huge.url"), "URL=" + QByteArray(50 << 20, 'a'));
        tree.addFile(QStringLiteral("noise.url"), QByteArray(50 << 20, '\xff'));
        tree.addShortcut(QStringLiteral("small.url"), QStringLiteral("http://small/"));
        // Only the first MiB is read: the address is what of the line fits in it.
        return list(item("huge", QByteArray((1 << 20) - 4, 'a')) + item("noise") +
                    item("small", "http://small/"));
    });

    QTest::newRow("names with line ends and invalid UTF-8")
        << Builder([](const FavoritesTree &tree) {
               writeRaw(at(tree, "line\nend.url"), shortcut("http://lf/"));
               writeRaw(at(tree, "carriage\rreturn.url"), shortcut("http://cr/"));
               writeRaw(at(tree, "bad\xff\xfe.url"), shortcut("http://bad/"));
               must(::mkdir(at(tree, "dir\xc3(").constData(), 0755) == 0, "mkdir");
               writeRaw(at(tree, "dir\xc3(/in\x80.url"), shortcut("http://in/"));
               return list(item("bad&#65533;&#65533;", "http://bad/") +
                           item("carriage&#13;return", "http://cr/") +
                           item("line&#10;end", "http://lf/") + heading("dir&#65533;(") +
                           item("in&#65533;", "http://in/"));
           });

    QTest::newRow("200 levels deep") << Builder([](const FavoritesTree &tree) {
        QByteArray expected;
        QString folder;
        for (int level = 0; level < 200; ++level) {
            folder += QStringLiteral("level%1/").arg(level);
            tree.addShortcut(folder + QStringLiteral("s.url"), QStringLiteral("http://deep/"));
            expected += heading(folder.chopped(1).toUtf8()) + item("s", "http://deep/");
        }
        return list(expected);
    });

    QTest::newRow("200 levels of long names, deeper than a path may be")
        << Builder([](const FavoritesTree &tree) {
               const QByteArray name(100, 'n');
               QByteArray expected;
               QByteArray folder;
               int dirFd =
                   ::open(QFile::encodeName(tree.root()).constData(), O_RDONLY | O_DIRECTORY);
               for (int level = 0; level < 200 && dirFd >= 0; ++level) {
                   must(::mkdirat(dirFd, name.constData(), 0755) == 0, "mkdirat");
                   const int next = ::openat(dirFd, name.constData(), O_RDONLY | O_DIRECTORY);
                   ::close(dirFd);
                   dirFd = next;
                   const int file = ::openat(dirFd, "s.url", O_WRONLY | O_CREAT, 0644);
                   must(file >= 0 && ::write(file, "URL=http://deep/\n", 17) == 17, "write");
                   ::close(file);
                   folder += (level ? "/" : "") + name;
                   expected += heading(folder) + item("s", "http://deep/");
               }
               ::close(dirFd);
               return list(expected);
           });

    QTest::newRow("10,000 shortcuts in one folder") << Builder([](const FavoritesTree &tree) {
        QByteArray expected;
        for (int i = 0; i < 10000; ++i) {
            const QByteArray name = QByteArray::number(i).rightJustified(5, '0');
            writeRaw(at(tree, name + ".url"), "URL=http://n/" + name + "\r\n");
            expected += item(name, "http://n/" + name);
        }
        return list(expected);
    });
}

void TestHostileExport::finishesWithExactlyTheExpectedLinks()
{
    QFETCH(Builder, build);
    FavoritesTree tree;
    QVERIFY(tree.isValid());
    // QTemporaryDir cannot remove names that are not UTF-8, nor paths past the system's limit.
    const auto removeTree = qScopeGuard([&tree] {
        QProcess::execute(QStringLiteral("rm"),
                          {QStringLiteral("-rf"), QStringLiteral("--"), tree.root()});
    });
    const QByteArray expected = build(tree);
    if (QTest::currentTestFailed())
        return;

    const Run run = runExport(tree.root());
    QVERIFY2(run.finished, "the exporter did not finish in time");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QCOMPARE(run.out.size(), expected.size());
    QCOMPARE(run.out, expected);

#ifdef QUILLON_TEST_WINDOW
    const QByteArray written = generateAndWriteInWindow(tree.root());
    QCOMPARE(written.size(), expected.size());
    QCOMPARE(written, expected);
#endif
}

void TestHostileExport::unreadableEntries_data()
{
    QTest::addColumn<bool>("asNobody");
    QTest::newRow("as this user") << false;
    QTest::newRow("as an unprivileged user") << true;
}

// Unreadable shortcuts get an empty address, unreadable folders are left out. Root reads them
// all, so the unprivileged run drops to "nobody" when the tests run as root.
void TestHostileExport::unreadableEntries()
{
    QFETCH(bool, asNobody);
    const bool root = ::geteuid() == 0;
    QStringList runAs;
    if (asNobody) {
        if (!root)
            QSKIP("already unprivileged: the other row covers it");
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            QSKIP("setpriv is not available to drop to an unprivileged user");
        runAs = {setpriv, QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 QStringLiteral("--clear-groups"), QStringLiteral("--")};
        // A build inside a private folder (such as root's home) is out of nobody's reach.
        if (QProcess::execute(runAs.first(),
                              runAs.mid(1) << exporterPath() << QStringLiteral("--version")) != 0)
            QSKIP("the unprivileged user cannot run the exporter from this build folder");
    }

    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("open.url"), QStringLiteral("http://open/"));
    tree.addShortcut(QStringLiteral("secret.url"), QStringLiteral("http://secret/"));
    tree.addShortcut(QStringLiteral("Closed/c.url"), QStringLiteral("http://c/"));
    tree.addShortcut(QStringLiteral("Passable/p.url"), QStringLiteral("http://p/"));
    tree.addShortcut(QStringLiteral("Passable/Inner/i.url"), QStringLiteral("http://i/"));
    QVERIFY(QFile::setPermissions(tree.root(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther));
    QCOMPARE(::chmod(QFile::encodeName(tree.path(QStringLiteral("secret.url"))).constData(), 0), 0);
    QCOMPARE(::chmod(QFile::encodeName(tree.path(QStringLiteral("Closed"))).constData(), 0), 0);
    // Can be entered but not listed.
    QCOMPARE(::chmod(QFile::encodeName(tree.path(QStringLiteral("Passable"))).constData(), 0111),
             0);

    const Run run = runExport(tree.root(), runAs);
    // Let the temporary folder be removed again.
    for (const char *folder : {"Closed", "Passable"})
        ::chmod(QFile::encodeName(tree.path(QString::fromLatin1(folder))).constData(), 0755);

    QVERIFY2(run.finished, "the exporter did not finish in time");
    QCOMPARE(run.exitCode, 0);
    const bool readsAll = root && !asNobody;
    const QByteArray expected =
        readsAll ? list(item("open", "http://open/") + item("secret", "http://secret/") +
                        heading("Closed") + item("c", "http://c/") + heading("Passable") +
                        item("p", "http://p/") + heading("Passable/Inner") + item("i", "http://i/"))
                 : list(item("open", "http://open/") + item("secret"));
    QCOMPARE(run.out, expected);
}

QUILLON_TEST_MAIN(TestHostileExport)
#include "tst_hostileexport.moc"
