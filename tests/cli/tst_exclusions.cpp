#include "cli/exclusions.h"
#include "favoritestree.h"
#include "links/linktable.h"
#include "scan/filenamecodec.h"
#include "testmain.h"

#include <QFile>

#include <sys/stat.h>

using namespace quillon;
using quillon::test::FavoritesTree;

class TestExclusions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wildcards_data();
    void wildcards();
    void untickMatchingUsesFolderAndSiteName_data();
    void untickMatchingUsesFolderAndSiteName();
    void patternFileSkipsBlankAndCommentLines();
    void patternFileMustBeARegularFile_data();
    void patternFileMustBeARegularFile();
};

void TestExclusions::wildcards_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    QTest::newRow("star crosses the separator") << "Work*"
                                                << "Work/Deep/x" << true;
    QTest::newRow("star matches nothing") << "Work*"
                                          << "Work" << true;
    QTest::newRow("whole path, not a part") << "Work"
                                            << "Work/x" << false;
    QTest::newRow("letter case counts") << "work*"
                                        << "Work/x" << false;
    QTest::newRow("question mark is one character") << "a?c"
                                                    << "abc" << true;
    QTest::newRow("question mark is not two") << "a?c"
                                              << "abbc" << false;
    QTest::newRow("question mark takes a separator") << "a?c"
                                                     << "a/c" << true;
    QTest::newRow("question mark takes a whole astral character") << "a?c"
                                                                  << "a\U0001F600c" << true;
    QTest::newRow("leading dot is not special") << "*x"
                                                << ".x" << true;
    QTest::newRow("star backtracks") << "*a*b"
                                     << "xaxxaxb" << true;
    QTest::newRow("star then too little") << "*ab"
                                          << "b" << false;
    QTest::newRow("class range") << "[a-c]x"
                                 << "bx" << true;
    QTest::newRow("class range miss") << "[a-c]x"
                                      << "dx" << false;
    QTest::newRow("negated class, bang") << "[!a-c]x"
                                         << "dx" << true;
    QTest::newRow("negated class, caret") << "[^a-c]x"
                                          << "ax" << false;
    QTest::newRow("bracket first in class is literal") << "[]]"
                                                       << "]" << true;
    QTest::newRow("named class") << "[[:digit:]]*"
                                 << "7 News" << true;
    QTest::newRow("named class miss") << "[[:digit:]]*"
                                      << "News" << false;
    QTest::newRow("unclosed bracket is literal") << "[ab"
                                                 << "[ab" << true;
    QTest::newRow("backslash takes the next as it is") << "\\*"
                                                       << "*" << true;
    QTest::newRow("escaped star is no wildcard") << "\\*"
                                                 << "x" << false;
    QTest::newRow("non-ASCII") << "Caf\u00e9/*"
                               << "Caf\u00e9/Menu" << true;
    QTest::newRow("unclosed bracket after a star") << "*["
                                                   << "x[" << true;
    QTest::newRow("unclosed bracket after a named class") << "[[:alpha:]"
                                                          << "[a" << true;
    QTest::newRow("escaped bracket closes nothing") << "[a\\]"
                                                    << "[a]" << true;
    // Each undecodable byte of a file name is its own lone surrogate.
    QTest::newRow("undecodable bytes stay apart")
        << decodeFileName("a\xff") << decodeFileName("a\xfe") << false;
    QTest::newRow("undecodable byte matches itself")
        << decodeFileName("a\xff") << decodeFileName("a\xff") << true;
    QTest::newRow("undecodable byte is not U+FFFD")
        << decodeFileName("a\xff") << "a\uFFFD" << false;
    QTest::newRow("undecodable byte in a class")
        << decodeFileName("a[\xfe]") << decodeFileName("a\xff") << false;
    // Read in linear time: rescanning to the end for each "[:" takes seconds.
    QTest::newRow("many brackets that never close")
        << "[" + QStringLiteral("[:").repeated(50000) << "[" + QStringLiteral("[:").repeated(50000)
        << true;
    QTest::newRow("empty pattern only matches empty") << ""
                                                      << "x" << false;
}

void TestExclusions::wildcards()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(wildcardMatches(pattern, text), matches);
}

void TestExclusions::untickMatchingUsesFolderAndSiteName_data()
{
    QTest::addColumn<QStringList>("patterns");
    // Rows: top, News/bbc, News/cnn, News/Sport/espn (unticked from the start), News/Sport/fox.
    QTest::addColumn<QList<bool>>("ticks");
    QTest::addColumn<int>("unticked");

    QTest::newRow("start folder: site name alone")
        << QStringList{"top"} << QList<bool>{false, true, true, false, true} << 1;
    QTest::newRow("later record of a group has the group's path")
        << QStringList{"News/cnn"} << QList<bool>{true, true, false, false, true} << 1;
    QTest::newRow("a folder and all below it, unticked ones not counted")
        << QStringList{"News*"} << QList<bool>{true, false, false, false, false} << 3;
    QTest::newRow("separator inside a sub-folder's name")
        << QStringList{"News/Sport/f*"} << QList<bool>{true, true, true, false, false} << 1;
    QTest::newRow("several patterns")
        << QStringList{"*bbc", "top"} << QList<bool>{false, false, true, false, true} << 2;
    QTest::newRow("no pattern") << QStringList{} << QList<bool>{true, true, true, false, true} << 0;
}

void TestExclusions::untickMatchingUsesFolderAndSiteName()
{
    QFETCH(QStringList, patterns);
    QFETCH(QList<bool>, ticks);
    QFETCH(int, unticked);
    LinkTable table;
    table.append({true, QString(), QStringLiteral("top"), QStringLiteral("http://t/")});
    table.append(
        {true, QStringLiteral("News"), QStringLiteral("bbc"), QStringLiteral("http://b/")});
    table.append({true, QString(), QStringLiteral("cnn"), QStringLiteral("http://c/")});
    table.append(
        {false, QStringLiteral("News/Sport"), QStringLiteral("espn"), QStringLiteral("http://e/")});
    table.append({true, QString(), QStringLiteral("fox"), QStringLiteral("http://f/")});
    QCOMPARE(untickMatching(table, patterns, u'/'), unticked);
    QList<bool> after;
    for (const LinkRecord &record : table.records())
        after.append(record.ticked);
    QCOMPARE(after, ticks);
}

void TestExclusions::patternFileSkipsBlankAndCommentLines()
{
    FavoritesTree dir;
    dir.addFile(QStringLiteral("patterns"),
                "# comment\r\nNews/*\r\n\r\n   \n#another\n  # not a comment\nWork*\n*.txt");
    QString error;
    QCOMPARE(readPatternFile(dir.path(QStringLiteral("patterns")), &error),
             QStringList({"News/*", "  # not a comment", "Work*", "*.txt"}));

    QVERIFY(!readPatternFile(dir.path(QStringLiteral("missing")), &error));
    QVERIFY(error.contains(QStringLiteral("missing")));
    QVERIFY(!readPatternFile(dir.path(QStringLiteral("missing")), nullptr));

    // A byte that is not UTF-8 stays that byte.
    dir.addFile(QStringLiteral("bytes"), "a\xff\n");
    QCOMPARE(readPatternFile(dir.path(QStringLiteral("bytes")), &error),
             QStringList({decodeFileName("a\xff")}));
}

void TestExclusions::patternFileMustBeARegularFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("endless device") << "/dev/zero";
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("folder") << ".";
}

void TestExclusions::patternFileMustBeARegularFile()
{
    QFETCH(QString, path);
    FavoritesTree dir;
    QVERIFY(::mkfifo(QFile::encodeName(dir.path(QStringLiteral("fifo"))).constData(), 0600) == 0);
    if (!path.startsWith(u'/'))
        path = dir.path(path);
    QString error;
    QVERIFY(!readPatternFile(path, &error));
    QVERIFY2(error.contains(QStringLiteral("not a regular file")) ||
                 error.contains(QStringLiteral("folder")),
             qPrintable(error));
}

QUILLON_TEST_MAIN(TestExclusions)
#include "tst_exclusions.moc"
