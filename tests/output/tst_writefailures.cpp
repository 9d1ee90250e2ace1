// Write To File when the disk says no: a full device, a folder that turned read-only, a
// folder, FIFO or dangling link where the file should be. Each time the old file stays as it
// was, no temporary file is left, the error names the file, and the next save works.

#include "failingdevice.h"
#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using quillon::test::FailingDevice;

namespace {

LinkTable tableOf(int records)
{
    LinkTable table;
    for (int i = 0; i < records; ++i)
        table.append({true, QString(), QStringLiteral("site %1").arg(i),
                      QStringLiteral("http://example.org/%1").arg(i)});
    return table;
}

// Every entry below folder with its kind and content or link target, hidden ones included:
// equal snapshots mean nothing was changed, added or left behind.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString line = info.filePath();
        if (info.isSymLink()) {
            line += QStringLiteral(" -> ") + info.symLinkTarget();
        } else if (info.isDir()) {
            line += u'/';
        } else if (info.isFile()) {
            QFile file(info.filePath());
            line += u'=' + QString::fromLatin1(file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                              : "<unreadable>");
        } else {
            line += QStringLiteral(" (special)");
        }
        entries << line;
    }
    entries.sort();
    return entries;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// What breaks the save, and what mends it again; both get the folder the target is in.
struct Trouble {
    std::function<void(const QString &)> cause;
    std::function<void(const QString &)> mend;
};

// Files may grow no larger than this while the device is "full"; writes past it fail.
struct FileSizeLimit {
    rlimit saved{};
    void (*savedHandler)(int) = nullptr;
    void lower(rlim_t bytes)
    {
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        savedHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        rlimit low = saved;
        low.rlim_cur = bytes;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &low), 0);
    }
    void restore()
    {
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        std::signal(SIGXFSZ, savedHandler);
    }
};

FileSizeLimit fileSizeLimit;

} // namespace

Q_DECLARE_METATYPE(Trouble)

class TestWriteFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deviceTakingPartsOrNothing_data();
    void deviceTakingPartsOrNothing();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void readOnlyFolderAsAnotherUser();
};

void TestWriteFailures::deviceTakingPartsOrNothing_data()
{
    QTest::addColumn<qint64>("room");
    QTest::addColumn<qint64>("perCall");
    QTest::addColumn<bool>("fits");

    // Big enough to be written in several chunks.
    const qint64 size = linkListBytes(tableOf(2000), OutputKind::Html).size();
    QTest::newRow("no room at all") << qint64(0) << size << false;
    QTest::newRow("room for part, all at once") << size / 2 << size << false;
    QTest::newRow("room for part, a little at a time") << size / 2 << qint64(100) << false;
    QTest::newRow("room for one byte less") << size - 1 << qint64(4096) << false;
    QTest::newRow("room for all, a little at a time") << size << qint64(100) << true;
}

// A device may take fewer bytes than offered: the rest must still be written, or the failure
// reported with the device's own message.
void TestWriteFailures::deviceTakingPartsOrNothing()
{
    QFETCH(qint64, room);
    QFETCH(qint64, perCall);
    QFETCH(bool, fits);
    const LinkTable table = tableOf(2000);
    FailingDevice device(room, perCall);
    QString error;
    QCOMPARE(writeLinkList(device, table, OutputKind::Html, &error), fits);
    if (fits)
        QCOMPARE(device.written, linkListBytes(table, OutputKind::Html));
    else
        QCOMPARE(error, QStringLiteral("No space left on device"));
}

void TestWriteFailures::failedSaveChangesNothing_data()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<bool>("oldFile"); // a former list is in place before the failed save
    QTest::addColumn<bool>("needsUnprivileged");

    QTest::newRow("device full") << Trouble{[](const QString &) { fileSizeLimit.lower(2048); },
                                            [](const QString &) {
                                                fileSizeLimit.restore();
                                            }}
                                 << true << false;
    QTest::newRow("folder turned read-only")
        << Trouble{[](const QString &folder) {
                       QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
                   },
                   [](const QString &folder) {
                       QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                                 QFile::ExeOwner));
                   }}
        << true << true;
    QTest::newRow("a folder in its place")
        << Trouble{[](const QString &folder) {
                       QVERIFY(QDir(folder).mkpath(QStringLiteral("links.html/inside")));
                   },
                   [](const QString &folder) {
                       QVERIFY(QDir(folder + QStringLiteral("/links.html")).removeRecursively());
                   }}
        << false << false;
    QTest::newRow("a FIFO in its place")
        << Trouble{[](const QString &folder) {
                       const QByteArray fifo = QFile::encodeName(folder + "/links.html");
                       QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
                   },
                   [](const QString &folder) {
                       QVERIFY(QFile::remove(folder + "/links.html"));
                   }}
        << false << false;
    // A link is written through, as shells do; while its folder is missing that cannot work.
    QTest::newRow("a dangling link in its place")
        << Trouble{[](const QString &folder) {
                       QVERIFY(QFile::link(QStringLiteral("gone/real.html"),
                                           folder + QStringLiteral("/links.html")));
                   },
                   [](const QString &folder) {
                       QVERIFY(QDir(folder).mkdir("gone"));
                   }}
        << false << false;
}

void TestWriteFailures::failedSaveChangesNothing()
{
    QFETCH(Trouble, trouble);
    QFETCH(bool, oldFile);
    QFETCH(bool, needsUnprivileged);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("links.html"));
    const LinkTable table = tableOf(100); // well over the "full" device's room
    if (oldFile)
        writeFile(target, "the old list");
    writeFile(dir.filePath(QStringLiteral("neighbour.txt")), "untouched");

    if (needsUnprivileged && ::geteuid() == 0)
        QSKIP("permissions do not stop the superuser: see readOnlyFolderAsAnotherUser");
    trouble.cause(dir.path());
    if (QTest::currentTestFailed())
        return;
    const QStringList before = snapshot(dir.path());
    QString error;
    const bool saved = saveLinkList(target, table, OutputKind::Html, &error);
    const QStringList after = snapshot(dir.path());
    trouble.mend(dir.path());

    QVERIFY(!saved);
    QVERIFY2(error.contains(target) && !error.contains(QStringLiteral("Unknown error")),
             qPrintable(error));
    QCOMPARE(after, before);

    // The next save works, through the link where there is one.
    QVERIFY2(saveLinkList(target, table, OutputKind::Html, &error), qPrintable(error));
    QCOMPARE(contentOf(target), linkListBytes(table, OutputKind::Html));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

// Root writes into read-only folders, so the exporter runs as "nobody" for this one.
void TestWriteFailures::readOnlyFolderAsAnotherUser()
{
    if (::geteuid() != 0)
        QSKIP("not root: the read-only row of the test above covers it");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        QSKIP("setpriv is not available to drop to an unprivileged user");
    const QString exporter = QStringLiteral(QUILLON_EXPORT_PATH);
    const QStringList runAs{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                            QStringLiteral("--clear-groups"), QStringLiteral("--"), exporter};
    // A build inside a private folder (such as root's home) is out of nobody's reach.
    if (QProcess::execute(setpriv, QStringList(runAs) << QStringLiteral("--version")) != 0)
        QSKIP("the unprivileged user cannot run the exporter from this build folder");
    QTemporaryDir favorites;
    QTemporaryDir out;
    writeFile(favorites.filePath(QStringLiteral("a.url")), "URL=http://a/\r\n");
    const QString target = out.filePath(QStringLiteral("links.dat"));
    writeFile(target, "the old list");
    const passwd *nobody = ::getpwnam("nobody");
    QVERIFY(nobody);
    for (const QString &path : {favorites.path(), out.path(), target})
        QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    QVERIFY(QFile::setPermissions(favorites.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::ExeOther));

    const auto exportAsNobody = [&]() {
        QProcess process;
        process.start(setpriv, QStringList(runAs)
                                   << QStringLiteral("-o") << target << favorites.path());
        if (!process.waitForFinished(120000))
            process.kill();
        return std::pair(process.exitCode(), process.readAllStandardError());
    };

    const QStringList before = snapshot(out.path());
    QVERIFY(QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto [failedCode, message] = exportAsNobody();
    QVERIFY(
        QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(failedCode, 1);
    QVERIFY2(message.contains(target.toUtf8()), message.constData());
    QCOMPARE(snapshot(out.path()), before);

    const auto [code, noMessage] = exportAsNobody();
    QCOMPARE(code, 0);
    QVERIFY2(noMessage.isEmpty(), noMessage.constData());
    QCOMPARE(
        contentOf(target),
        QByteArray("<UL> \r\n<LI><A HREF='http://a/' target='_blank'>a</A><BR>\r\n</UL> \r\n"));
}

QUILLON_TEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
