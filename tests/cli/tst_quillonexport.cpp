#include "favoritestree.h"
#include "testmain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using quillon::test::FavoritesTree;
using quillon::test::readFileBytes;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runExport(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLON_EXPORT_PATH), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestQuillonExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheExampleTree();
    void writesToAFileOnlyWhenAllWentWell();
    void nothingFoundStillWritesTheEmptyFile();
    void refusesBadRequests_data();
    void refusesBadRequests();
};

void TestQuillonExport::writesTheExampleTree()
{
    const Run run = runExport({QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    // Start folder first, then each sub-folder under its heading, breadth first.
    const QByteArray expected =
        "<UL> \r\n"
        "<LI><A HREF='https://www.debian.org/' target='_blank'>Debian</A><BR>\r\n"
        "<LI><A HREF='https://doc.qt.io/' target='_blank'>Qt Documentation</A><BR>\r\n"
        "<BR>\r\n<FONT SIZE='+1'><U><B>News</B></U></FONT>\r\n<BR>\r\n"
        "<LI><A HREF='https://www.bbc.co.uk/news' target='_blank'>BBC News</A><BR>\r\n"
        "<LI><A HREF='https://news.ycombinator.com/' target='_blank'>Hacker News</A><BR>\r\n"
        "<LI><A HREF='https://www.lemonde.fr/' target='_blank'>Le Monde</A><BR>\r\n"
        "<BR>\r\n<FONT SIZE='+1'><U><B>Reference</B></U></FONT>\r\n<BR>\r\n"
        "<LI><A HREF='https://en.cppreference.com/w/' target='_blank'>cppreference</A><BR>\r\n"
        "<LI><A HREF='https://en.wikipedia.org/wiki/Main_Page' "
        "target='_blank'>Wikipedia</A><BR>\r\n"
        "<BR>\r\n<FONT SIZE='+1'><U><B>Tools</B></U></FONT>\r\n<BR>\r\n"
        "<LI><A HREF='https://cmake.org/cmake/help/latest/' target='_blank'>CMake "
        "Reference</A><BR>\r\n"
        "<LI><A HREF='https://godbolt.org/?a=1&amp;b=2' target='_blank'>Compiler "
        "Explorer</A><BR>\r\n"
        "<BR>\r\n<FONT SIZE='+1'><U><B>Empty Folder/Nested</B></U></FONT>\r\n<BR>\r\n"
        "<LI><A HREF='https://example.org/cafe' target='_blank'>Caf&#233; M&#252;ller</A><BR>\r\n"
        "<BR>\r\n<FONT SIZE='+1'><U><B>Reference/Languages</B></U></FONT>\r\n<BR>\r\n"
        "<LI><A HREF='https://www.python.org/' target='_blank'>Python</A><BR>\r\n"
        "<LI><A HREF='https://www.rust-lang.org/' target='_blank'>Rust</A><BR>\r\n"
        "</UL> \r\n";
    QCOMPARE(run.out, expected);

    const Run html =
        runExport({QStringLiteral("--html"), QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites/")});
    QCOMPARE(html.exitCode, 0);
    QVERIFY(html.out.startsWith(
        "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<UL> \r\n"));
    QVERIFY(html.out.endsWith("</UL> \r\n</BODY>\r\n</HTML>\r\n"));
}

void TestQuillonExport::writesToAFileOnlyWhenAllWentWell()
{
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("a.url"), QStringLiteral("http://a/"));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("links.dat"));
    const Run ok = runExport({QStringLiteral("-o"), target, tree.root()});
    QCOMPARE(ok.exitCode, 0);
    QCOMPARE(
        readFileBytes(target),
        QByteArray("<UL> \r\n<LI><A HREF='http://a/' target='_blank'>a</A><BR>\r\n</UL> \r\n"));

    const Run bad = runExport(
        {QStringLiteral("-o"), out.filePath(QStringLiteral("adir/x/links.dat")), tree.root()});
    QCOMPARE(bad.exitCode, 1);
    QVERIFY(bad.err.contains("adir/x/links.dat"));

    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("taken")));
    const Run dir =
        runExport({QStringLiteral("--output"), out.filePath(QStringLiteral("taken")), tree.root()});
    QCOMPARE(dir.exitCode, 1);
    QVERIFY(QFileInfo(out.filePath(QStringLiteral("taken"))).isDir());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"links.dat"}));
}

void TestQuillonExport::nothingFoundStillWritesTheEmptyFile()
{
    FavoritesTree tree;
    tree.addFile(QStringLiteral("readme.txt"), "not a shortcut");
    const QString target = tree.path(QStringLiteral("out.html"));
    const Run run =
        runExport({QStringLiteral("--html"), QStringLiteral("-o"), target, tree.root()});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err.trimmed(), QByteArray("No Favorites Were Found In This Location"));
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(QFileInfo(target).size(), 0);
}

void TestQuillonExport::refusesBadRequests_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("root is too broad")
        << QStringList{QStringLiteral("/")} << 1
        << QByteArray("This Selection Is Too Broad, Please Narrow Down Your Search");
    QTest::newRow("home is too broad")
        << QStringList{QStringLiteral("/home/")} << 1 << QByteArray("This Selection Is Too Broad");
    QTest::newRow("missing folder")
        << QStringList{QStringLiteral("/no/such/folder")} << 1 << QByteArray("is not a folder");
    QTest::newRow("no folder") << QStringList{} << 2 << QByteArray("no FOLDER given");
    QTest::newRow("two folders") << QStringList{QStringLiteral("/tmp"), QStringLiteral("/tmp")} << 2
                                 << QByteArray("only one FOLDER");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("/tmp")} << 2 << QByteArray("pdf");
    QTest::newRow("both kinds") << QStringList{QStringLiteral("--html"), QStringLiteral("--dat"),
                                               QStringLiteral("/tmp")}
                                << 2 << QByteArray("cannot be used together");
}

void TestQuillonExport::refusesBadRequests()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    const Run run = runExport(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

QUILLON_TEST_MAIN(TestQuillonExport)
#include "tst_quillonexport.moc"
