// What only the exporter meets on a hostile tree: a list too big for one pipe buffer, folders
// deeper than a path may be, a run by a user who cannot read everything, and a hung mount. How the
// walk treats links, special files, huge files and odd names is the scan suites' concern.

#include "favoritestree.h"
#include "otheruser.h"
#include "testmain.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using quillon::test::FavoritesTree;
using quillon::test::OtherUser;
using quillon::test::readFileBytes;

namespace {

// Far more than any of these trees needs, even in a sanitizer build on a busy machine.
constexpr int HangLimitMs = 180000;

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runExport(const QString &folder, QStringList command = {QStringLiteral(QUILLON_EXPORT_PATH)})
{
    QProcess process;
    command << folder;
    process.start(command.takeFirst(), command);
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

// The exporter ends in time, says nothing and writes exactly the expected list.
void exportsSilently(const FavoritesTree &tree, const QByteArray &expected)
{
    const Run run = runExport(tree.root());
    QVERIFY2(run.finished, "the exporter did not finish in time");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QCOMPARE(run.out, expected);
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

void chmodIn(const FavoritesTree &tree, const QString &relative, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(tree.path(relative)).constData(), mode), 0);
}

} // namespace

class TestHostileExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bigListThroughAPipe();
    void foldersDeeperThanAPathMayBe();
    void unreadableEntries_data();
    void unreadableEntries();
    void hungMountHoldsNothingUp();
};

void TestHostileExport::bigListThroughAPipe()
{
    FavoritesTree tree;
    QByteArray expected;
    for (int i = 0; i < 10000; ++i) {
        const QByteArray name = QByteArray::number(i).rightJustified(5, '0');
        tree.addFile(QString::fromLatin1(name + ".url"), "URL=http://n/" + name + "\r\n");
        expected += item(name, "http://n/" + name);
    }
    exportsSilently(tree, list(expected));
}

void TestHostileExport::foldersDeeperThanAPathMayBe()
{
    FavoritesTree tree;
    // QTemporaryDir cannot remove paths past the system's limit.
    const auto removeTree = qScopeGuard([&tree] {
        QProcess::execute(QStringLiteral("rm"),
                          {QStringLiteral("-rf"), QStringLiteral("--"), tree.root()});
    });
    const QByteArray name(100, 'n');
    QByteArray expected;
    QByteArray folder;
    int dirFd = ::open(QFile::encodeName(tree.root()).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < 200 && dirFd >= 0; ++level) {
        QCOMPARE(::mkdirat(dirFd, name.constData(), 0755), 0);
        const int next = ::openat(dirFd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(dirFd);
        dirFd = next;
        const int file = ::openat(dirFd, "s.url", O_WRONLY | O_CREAT, 0644);
        QVERIFY(file >= 0);
        QCOMPARE(::write(file, "URL=http://deep/\n", 17), 17);
        ::close(file);
        folder += (level ? "/" : "") + name;
        expected += heading(folder) + item("s", "http://deep/");
    }
    QVERIFY(dirFd >= 0);
    ::close(dirFd);

    exportsSilently(tree, list(expected));
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
    QStringList command{QStringLiteral(QUILLON_EXPORT_PATH)};
    if (asNobody) {
        if (!root)
            QSKIP("already unprivileged: the other row covers it");
        QString why;
        const auto asOther = OtherUser::commandFor(command.first(), &why);
        if (!asOther)
            QSKIP(qPrintable(why));
        command = *asOther;
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
    chmodIn(tree, QStringLiteral("secret.url"), 0);
    chmodIn(tree, QStringLiteral("Closed"), 0);
    chmodIn(tree, QStringLiteral("Passable"), 0111); // can be entered but not listed

    const Run run = runExport(tree.root(), command);
    // Let the temporary folder be removed again.
    chmodIn(tree, QStringLiteral("Closed"), 0755);
    chmodIn(tree, QStringLiteral("Passable"), 0755);

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

// A Wine prefix on a mount whose every call waits an hour: the drive list leaves it out and
// names it, and an export of another folder never looks at it.
void TestHostileExport::hungMountHoldsNothingUp()
{
    const QString mounter = QStringLiteral(QUILLON_BUILD_DIR "/bench/quillon-latencyfs");
    if (!QFileInfo::exists(mounter) || ::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0)
        QSKIP("Needs root, /dev/fuse and bench/quillon-latencyfs (built with libfuse3-dev)");
    FavoritesTree dir;
    dir.addFolder(QStringLiteral("source/.wine/drive_c/users"));
    dir.addFolder(QStringLiteral("mount"));
    dir.addFolder(QStringLiteral("home"));
    dir.addShortcut(QStringLiteral("elsewhere/a.url"), QStringLiteral("http://a/"));
    QVERIFY(QFile::link(dir.path("mount/.wine"), dir.path("home/.wine")));
    QProcess mount;
    mount.start(mounter, {QStringLiteral("--delay-ms"), QStringLiteral("3600000"),
                          dir.path("source"), dir.path("mount")});
    // Killing the mount first frees whatever still waits on it.
    const auto unmount = qScopeGuard([&] {
        mount.kill();
        mount.waitForFinished();
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dir.path("mount")});
    });
    // The mount table, not the mount point: asking the mount itself would wait the hour.
    const QByteArray mountPoint = " " + QFile::encodeName(dir.path("mount")) + " ";
    QTRY_VERIFY_WITH_TIMEOUT(
        readFileBytes(QStringLiteral("/proc/self/mounts")).contains(mountPoint), 30000);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path("home"));
    environment.remove(QStringLiteral("WINEPREFIX"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    const auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUILLON_EXPORT_PATH), arguments);
        Run result;
        result.finished = process.waitForFinished(HangLimitMs);
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    };
    const Run drives = run({QStringLiteral("--list-drives")});
    QVERIFY(drives.finished);
    QCOMPARE(drives.exitCode, 0);
    QVERIFY(drives.out.startsWith("/\t/\n"));
    QVERIFY2(
        drives.err.contains(QFile::encodeName(dir.path("home/.wine/drive_c")) + " did not answer"),
        drives.err.constData());
    const Run elsewhere = run({dir.path("elsewhere")});
    QVERIFY(elsewhere.finished);
    QCOMPARE(elsewhere.exitCode, 0);
    QCOMPARE(elsewhere.out, list(item("a", "http://a/")));
}

QUILLON_TEST_MAIN(TestHostileExport)
#include "tst_hostileexport.moc"
