#include "links/linktable.h"
#include "memoryfilesystem.h"
#include "scan/favoriteswalk.h"
#include "slowfilesystem.h"
#include "testmain.h"

#include <QRandomGenerator>

using namespace quillon;
using quillon::test::MemoryFileSystem;
using quillon::test::SlowFileSystem;

namespace {

QByteArray shortcut(const QByteArray &address)
{
    return "[DEFAULT]\r\nBASEURL=" + address + "\r\n[InternetShortcut]\r\nURL=" + address + "\r\n";
}

// One line per record: "folder|site|address", with "-" for a folder field without value.
QStringList rows(const LinkTable &table)
{
    QStringList out;
    for (const LinkRecord &r : table.records()) {
        out << QString(r.ticked ? QString() : QStringLiteral("UNTICKED:")) +
                   (r.folderName.isEmpty() ? QStringLiteral("-") : r.folderName) + u'|' +
                   r.siteName + u'|' + r.address;
    }
    return out;
}

QStringList walk(const FileSystem &fs, const QString &start, qsizetype prefix = -1)
{
    LinkTable table;
    walkFavorites(fs, start, prefix < 0 ? start.size() : prefix, table);
    return rows(table);
}

// Every field of every record, the time included.
QStringList fullRows(const LinkTable &table)
{
    QStringList out = rows(table);
    for (int i = 0; i < table.recordCount(); ++i) {
        const auto time = table.record(i).modifiedAt;
        out[i] += u'|' + (time ? QString::number(*time) : QStringLiteral("none"));
    }
    return out;
}

// A random tree under C:\F with every kind of entry the walk meets: folders several levels
// deep, empty and unlistable ones, links to folders, hidden entries, devices, unreadable and
// vanished shortcuts, script links, files with and without a time.
void addRandomTree(MemoryFileSystem &fs, quint32 seed)
{
    using A = MemoryFileSystem;
    QRandomGenerator random(seed);
    QStringList folders{QStringLiteral("C:\\F")};
    for (int i = 0; i < 60; ++i) {
        const QString parent = folders[random.bounded(int(folders.size()))];
        const QString folder = parent + QStringLiteral("\\D%1").arg(i);
        const int kind = random.bounded(40);
        fs.addFolder(folder, kind == 0   ? A::Directory | A::ReparsePoint
                             : kind == 1 ? A::Directory | A::Hidden
                                         : A::Directory);
        if (kind == 2)
            fs.makeUnlistable(folder);
        folders << folder;
    }
    for (int i = 0; i < 600; ++i) {
        const QString path = folders[random.bounded(int(folders.size()))] +
                             QStringLiteral("\\s%1%2").arg(random.bounded(1000)).arg(i);
        const int kind = random.bounded(40);
        if (kind == 0)
            fs.addSpecial(path + QStringLiteral(".url"));
        else if (kind == 1)
            fs.addFile(path + QStringLiteral(".url"), std::nullopt);
        else if (kind == 2)
            fs.addFile(path + QStringLiteral(".txt"), shortcut("http://not-a-shortcut/"));
        else if (kind == 3)
            fs.addFile(path + QStringLiteral(".url"), shortcut("javascript:alert(1)"), A::Hidden);
        else if (kind == 4)
            fs.addFile(path + QStringLiteral(".url"), shortcut(" java\tscript:void(0)"));
        else
            fs.addFile(path + QStringLiteral(".url"),
                       shortcut("http://x/" + QByteArray::number(i)));
        if (kind % 3 == 0)
            fs.setModifiedAt(path + QStringLiteral(".url"), 1'000'000'000 + i);
    }
}

} // namespace

class TestFavoritesWalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordsComeBreadthFirstWithFolderNamesOnGroupStarts();
    void startFolderWithoutClosingSeparator();
    void driveRootHandedOnWithTwoBackslashes();
    void whichNamesAreShortcuts();
    void foldersAreWalkedWhateverTheirAttributes();
    void linksToFoldersAreNeverFollowedNorRecorded();
    void hiddenAndSystemEntriesAreLeftOut();
    void badEntriesKeepTheWalkGoing();
    void listsEachFolderOnceAndReadsEachShortcutOnce();
    void progressCanStopTheWalk();
    void parallelWalkMatchesOneByOne_data();
    void parallelWalkMatchesOneByOne();
    void stoppedParallelWalkKeepsTheRowsFound();
    void recordsCarryTheFileTime();
};

void TestFavoritesWalk::recordsComeBreadthFirstWithFolderNamesOnGroupStarts()
{
    MemoryFileSystem fs;
    fs.addFile(QStringLiteral("C:\\Fav\\Top.url"), shortcut("http://top/"));
    fs.addFolder(QStringLiteral("C:\\Fav\\A"));
    fs.addFile(QStringLiteral("C:\\Fav\\A\\a1.url"), shortcut("http://a1/"));
    fs.addFolder(QStringLiteral("C:\\Fav\\A\\Deep"));
    fs.addFile(QStringLiteral("C:\\Fav\\A\\Deep\\d1.url"), shortcut("http://d1/"));
    fs.addFile(QStringLiteral("C:\\Fav\\A\\a2.url"), shortcut("http://a2/"));
    fs.addFolder(QStringLiteral("C:\\Fav\\Empty\\Inner"));
    fs.addFile(QStringLiteral("C:\\Fav\\Empty\\Inner\\i.url"), shortcut("http://i/"));
    fs.addFolder(QStringLiteral("C:\\Fav\\B"));
    fs.addFile(QStringLiteral("C:\\Fav\\B\\b1.url"), shortcut("http://b1/"));
    fs.addFile(QStringLiteral("C:\\Fav\\B\\b2.url"), shortcut("http://b2/"));
    fs.addFile(QStringLiteral("C:\\Fav\\Second.url"), shortcut("http://second/"));

    QCOMPARE(walk(fs, QStringLiteral("C:\\Fav\\")),
             QStringList({"-|Top|http://top/", "-|Second|http://second/", "A|a1|http://a1/",
                          "-|a2|http://a2/", "B|b1|http://b1/", "-|b2|http://b2/",
                          "A\\Deep|d1|http://d1/", "Empty\\Inner|i|http://i/"}));
}

void TestFavoritesWalk::startFolderWithoutClosingSeparator()
{
    MemoryFileSystem fs;
    fs.addFile(QStringLiteral("C:\\Fav\\Sub\\s.url"), shortcut("http://s/"));
    // The prefix is cut by length only: the walk's own copy gains the separator.
    QCOMPARE(walk(fs, QStringLiteral("C:\\Fav"), 7), QStringList({"Sub|s|http://s/"}));
}

void TestFavoritesWalk::driveRootHandedOnWithTwoBackslashes()
{
    MemoryFileSystem fs;
    fs.addFile(QStringLiteral("D:\\root.url"), shortcut("http://r/"));
    fs.addFile(QStringLiteral("D:\\Links\\l.url"), shortcut("http://l/"));
    fs.addFile(QStringLiteral("D:\\Links\\More\\m.url"), shortcut("http://m/"));
    QCOMPARE(walk(fs, QStringLiteral("D:\\\\")),
             QStringList({"-|root|http://r/", "Links|l|http://l/", "Links\\More|m|http://m/"}));
}

void TestFavoritesWalk::whichNamesAreShortcuts()
{
    MemoryFileSystem fs;
    for (const char *name : {"Upper.address", "Mixed.Url", ".url", "a", "ab", "url", "x.url.txt",
                             "desktop.ini", "Name (2).url", "plain.url"})
        fs.addFile(QStringLiteral("C:\\F\\") + QLatin1String(name), shortcut("http://x/"));
    QCOMPARE(walk(fs, QStringLiteral("C:\\F\\")),
             QStringList({"-||http://x/", "-|Name (2)|http://x/", "-|plain|http://x/"}));
}

void TestFavoritesWalk::foldersAreWalkedWhateverTheirAttributes()
{
    MemoryFileSystem fs;
    using A = MemoryFileSystem;
    fs.addFolder(QStringLiteral("C:\\F\\ReadOnly"), A::Directory | A::ReadOnly);
    fs.addFile(QStringLiteral("C:\\F\\ReadOnly\\r.url"), shortcut("http://r/"));
    fs.addFolder(QStringLiteral("C:\\F\\Archived"), A::Directory | A::Archive | 2048);
    fs.addFile(QStringLiteral("C:\\F\\Archived\\Below\\b.url"), shortcut("http://b/"));
    QCOMPARE(walk(fs, QStringLiteral("C:\\F\\")),
             QStringList({"ReadOnly|r|http://r/", "Archived\\Below|b|http://b/"}));
}

void TestFavoritesWalk::linksToFoldersAreNeverFollowedNorRecorded()
{
    MemoryFileSystem fs;
    using A = MemoryFileSystem;
    fs.addFolder(QStringLiteral("C:\\F\\Loop.url"), A::Directory | A::ReparsePoint);
    fs.addFile(QStringLiteral("C:\\F\\Loop.url\\hidden-by-link.url"), shortcut("http://no/"));
    fs.addFolder(QStringLiteral("C:\\F\\Folder.url"));
    fs.addFile(QStringLiteral("C:\\F\\Folder.url\\inside.url"), shortcut("http://in/"));
    QCOMPARE(walk(fs, QStringLiteral("C:\\F\\")), QStringList({"Folder.url|inside|http://in/"}));
    QCOMPARE(fs.listCount(QStringLiteral("C:\\F\\Loop.url")), 0);
}

void TestFavoritesWalk::hiddenAndSystemEntriesAreLeftOut()
{
    MemoryFileSystem fs;
    using A = MemoryFileSystem;
    fs.addFile(QStringLiteral("C:\\F\\hidden.url"), shortcut("http://h/"), A::Hidden);
    fs.addFile(QStringLiteral("C:\\F\\system.url"), shortcut("http://s/"), A::System | A::Archive);
    fs.addFolder(QStringLiteral("C:\\F\\HiddenDir"), A::Directory | A::Hidden);
    fs.addFile(QStringLiteral("C:\\F\\HiddenDir\\in.url"), shortcut("http://in/"));
    fs.addFile(QStringLiteral("C:\\F\\shown.url"), shortcut("http://shown/"), A::ReadOnly);
    QCOMPARE(walk(fs, QStringLiteral("C:\\F\\")), QStringList({"-|shown|http://shown/"}));
}

void TestFavoritesWalk::badEntriesKeepTheWalkGoing()
{
    MemoryFileSystem fs;
    fs.addSpecial(QStringLiteral("C:\\F\\device.url"));
    fs.addFile(QStringLiteral("C:\\F\\locked.url"), std::nullopt);
    fs.addFile(QStringLiteral("C:\\F\\vanished.url"), shortcut("http://gone/"));
    fs.removeContent(QStringLiteral("C:\\F\\vanished.url"));
    fs.addFolder(QStringLiteral("C:\\F\\Closed"));
    fs.addFile(QStringLiteral("C:\\F\\Closed\\c.url"), shortcut("http://c/"));
    fs.makeUnlistable(QStringLiteral("C:\\F\\Closed"));
    fs.addFile(QStringLiteral("C:\\F\\Open\\o.url"), shortcut("http://o/"));

    LinkTable table;
    const WalkResult result = walkFavorites(fs, QStringLiteral("C:\\F\\"), 5, table);
    QCOMPARE(rows(table),
             QStringList({"-|device|", "-|locked|", "-|vanished|", "Open|o|http://o/"}));
    QCOMPARE(result.progress.foldersSkipped, 1);
    QCOMPARE(fs.readCount(QStringLiteral("C:\\F\\device.url")), 0);
}

void TestFavoritesWalk::listsEachFolderOnceAndReadsEachShortcutOnce()
{
    MemoryFileSystem fs;
    for (int f = 0; f < 5; ++f)
        for (int s = 0; s < 4; ++s)
            fs.addFile(QStringLiteral("C:\\F\\D%1\\s%2.url").arg(f).arg(s), shortcut("http://x/"));
    QCOMPARE(walk(fs, QStringLiteral("C:\\F\\")).size(), 20);
    QCOMPARE(fs.listCount(QStringLiteral("C:\\F")), 1);
    for (int f = 0; f < 5; ++f)
        QCOMPARE(fs.listCount(QStringLiteral("C:\\F\\D%1").arg(f)), 1);
    QCOMPARE(fs.totalReads(), 20);
}

void TestFavoritesWalk::progressCanStopTheWalk()
{
    MemoryFileSystem fs;
    for (int f = 0; f < 3; ++f)
        fs.addFile(QStringLiteral("C:\\F\\D%1\\s.url").arg(f), shortcut("http://x/"));
    LinkTable table;
    int calls = 0;
    const WalkResult result = walkFavorites(fs, QStringLiteral("C:\\F\\"), 5, table,
                                            [&calls](const WalkProgress &) { return ++calls < 2; });
    QVERIFY(result.stopped);
    QCOMPARE(calls, 2);
    QCOMPARE(table.recordCount(), 1); // the start folder, then D0; D1 and D2 never listed
}

void TestFavoritesWalk::parallelWalkMatchesOneByOne_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("tree %u", seed) << seed;
}

void TestFavoritesWalk::parallelWalkMatchesOneByOne()
{
    QFETCH(quint32, seed);
    MemoryFileSystem fs;
    addRandomTree(fs, seed);
    LinkTable oneByOne;
    walkFavorites(fs, QStringLiteral("C:\\F\\"), 5, oneByOne);
    QVERIFY(oneByOne.recordCount() > 50);

    const SlowFileSystem slow(fs, 8, std::chrono::microseconds(200));
    for (int run = 0; run < 3; ++run) {
        LinkTable parallel;
        int lastRows = 0;
        const WalkResult result = walkFavorites(
            slow, QStringLiteral("C:\\F\\"), 5, parallel, [&](const WalkProgress &progress) {
                // Rows only ever grow, in order.
                const bool grew = parallel.recordCount() >= lastRows;
                lastRows = parallel.recordCount();
                return grew && progress.shortcutsFound == lastRows;
            });
        QVERIFY(!result.stopped);
        QCOMPARE(fullRows(parallel), fullRows(oneByOne));
    }
    QCOMPARE(fs.listCount(QStringLiteral("C:\\F")), 4);
}

void TestFavoritesWalk::stoppedParallelWalkKeepsTheRowsFound()
{
    MemoryFileSystem fs;
    addRandomTree(fs, 7);
    LinkTable full;
    walkFavorites(fs, QStringLiteral("C:\\F\\"), 5, full);

    const SlowFileSystem slow(fs, 8, std::chrono::microseconds(200));
    LinkTable stopped;
    int calls = 0;
    const WalkResult result = walkFavorites(slow, QStringLiteral("C:\\F\\"), 5, stopped,
                                            [&calls](const WalkProgress &) { return ++calls < 5; });
    QVERIFY(result.stopped);
    QCOMPARE(calls, 5);
    QVERIFY(stopped.recordCount() < full.recordCount());
    QCOMPARE(fullRows(stopped), fullRows(full).first(stopped.recordCount()));
}

void TestFavoritesWalk::recordsCarryTheFileTime()
{
    MemoryFileSystem fs;
    fs.addFile(QStringLiteral("C:\\F\\dated.url"), shortcut("http://d/"));
    fs.setModifiedAt(QStringLiteral("C:\\F\\dated.url"), 1'234'567'890);
    fs.addFile(QStringLiteral("C:\\F\\undated.url"), shortcut("http://u/"));
    fs.addFile(QStringLiteral("C:\\F\\unreadable.url"), std::nullopt);
    LinkTable table;
    walkFavorites(fs, QStringLiteral("C:\\F\\"), 5, table);
    QCOMPARE(fullRows(table), QStringList({"-|dated|http://d/|1234567890",
                                           "-|undated|http://u/|none", "-|unreadable||none"}));
}

QUILLON_TEST_MAIN(TestFavoritesWalk)
#include "tst_favoriteswalk.moc"
