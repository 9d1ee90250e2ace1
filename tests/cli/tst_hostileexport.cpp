// What only the exporter meets on a hostile tree: a list too big for one pipe buffer, folders
// deeper than a path may be, and a run by a user who cannot read everything. How the walk
// treats links, special files, huge files and odd names is the scan suites' concern.

#include "favoritestree.h"
#include "otheruser.h"
#include "testmain.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using quillon::test::FavoritesTree;
using quillon::test::OtherUser;

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

QUILLON_TEST_MAIN(TestHostileExport)
#include "tst_hostileexport.moc"
