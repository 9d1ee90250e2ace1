#include "favoritestree.h"
#include "testmain.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void listsTheDrives();
    void leavesLinksOut_data();
    void leavesLinksOut();
    void badInputFileWritesNothing();
    void namesAreTakenByteForByte();
    void terminalShowsWhatWasWritten();
    void signalLeavesTheOldFile();
    void outputNamingADescriptorWritesToIt_data();
    void outputNamingADescriptorWritesToIt();
    void signalStopsAWriteToAFullPipe_data();
    void signalStopsAWriteToAFullPipe();
    void everyKindIsReadBack_data();
    void everyKindIsReadBack();
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

    const Run bookmarks = runExport(
        {QStringLiteral("--bookmarks"), QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites")});
    QCOMPARE(bookmarks.exitCode, 0);
    QVERIFY(bookmarks.out.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
    QVERIFY(bookmarks.out.contains("<DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\""));
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
        << QByteArray(
               "quillon-export: This Selection Is Too Broad, Please Narrow Down Your Search");
    QTest::newRow("home is too broad")
        << QStringList{QStringLiteral("/home/")} << 1 << QByteArray("This Selection Is Too Broad");
    QTest::newRow("missing folder")
        << QStringList{QStringLiteral("/no/such/folder")} << 1 << QByteArray("is not a folder");
    QTest::newRow("no folder") << QStringList{} << 2 << QByteArray("no FOLDER given");
    QTest::newRow("two folders") << QStringList{QStringLiteral("/tmp"), QStringLiteral("/tmp")} << 2
                                 << QByteArray("only one FOLDER");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("/tmp")} << 2 << QByteArray("pdf");
    QTest::newRow("drive list takes no folder")
        << QStringList{QStringLiteral("--list-drives"), QStringLiteral("/tmp")} << 2
        << QByteArray("--list-drives takes no FOLDER");
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

namespace {

QByteArray linkLine(const char *site, const char *address)
{
    return QByteArray("<LI><A HREF='") + address + "' target='_blank'>" + site + "</A><BR>\r\n";
}

QByteArray heading(const char *folder)
{
    return QByteArray("<BR>\r\n<FONT SIZE='+1'><U><B>") + folder + "</B></U></FONT>\r\n<BR>\r\n";
}

// a, a bookmarklet, News/n, News/n2, News/z (the address of a), Work/w, Work/Deep/d.
void buildMixedTree(const FavoritesTree &tree)
{
    tree.addShortcut(QStringLiteral("a.url"), QStringLiteral("http://a/"));
    tree.addShortcut(QStringLiteral("bm.url"), QStringLiteral("javascript:alert(1)"));
    tree.addShortcut(QStringLiteral("News/n.url"), QStringLiteral("http://n/"));
    tree.addShortcut(QStringLiteral("News/n2.url"), QStringLiteral("http://n2/"));
    tree.addShortcut(QStringLiteral("News/z.url"), QStringLiteral("http://a/"));
    tree.addShortcut(QStringLiteral("Work/w.url"), QStringLiteral("http://w/"));
    tree.addShortcut(QStringLiteral("Work/Deep/d.url"), QStringLiteral("http://d/"));
}

} // namespace

void TestQuillonExport::listsTheDrives()
{
    // The drive list: path, TAB, label, the root first.
    const Run drives = runExport({QStringLiteral("--list-drives")});
    QCOMPARE(drives.exitCode, 0);
    QVERIFY2(drives.out.startsWith("/\t") && drives.out.endsWith('\n'), drives.out.constData());
    for (const QByteArray &line : drives.out.chopped(1).split('\n'))
        QCOMPARE(line.count('\t'), 1);
}

void TestQuillonExport::leavesLinksOut_data()
{
    // PATTERNS stands for a file of patterns, LIST for a list that holds n and the bookmarklet.
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("scriptMessage"); // empty: none expected

    const QByteArray a = linkLine("a", "http://a/");
    const QByteArray bm = linkLine("bm", "javascript:alert(1)");
    const QByteArray n = linkLine("n", "http://n/");
    const QByteArray z = linkLine("z", "http://a/");
    const QByteArray news = heading("News") + n + linkLine("n2", "http://n2/") + z;
    const QByteArray work = heading("Work") + linkLine("w", "http://w/") + heading("Work/Deep") +
                            linkLine("d", "http://d/");
    const QByteArray leftOut = "left out 1 script link";
    QTest::newRow("script link left out by default") << QStringList{} << a + news + work << leftOut;
    QTest::newRow("kept on request")
        << QStringList{"--keep-script-links"} << a + bm + news + work << QByteArray();
    QTest::newRow("a folder and everything below it")
        << QStringList{"--exclude", "Work*"} << a + news << leftOut;
    QTest::newRow("first of a folder left out: its heading moves")
        << QStringList{"--exclude", "News/n"}
        << a + heading("News") + linkLine("n2", "http://n2/") + z + work << leftOut;
    QTest::newRow("patterns repeated and from a file, script link kept but excluded")
        << QStringList{"--keep-script-links", "--exclude", "bm", "--exclude-from", "PATTERNS"}
        << a + heading("Work/Deep") + linkLine("d", "http://d/") << QByteArray();
    QTest::newRow("no duplicates")
        << QStringList{"--no-duplicates"}
        << a + heading("News") + n + linkLine("n2", "http://n2/") + work << leftOut;
    QTest::newRow("ticked from a list, then the script rule")
        << QStringList{"--ticked-from", "LIST"} << heading("News") + n << leftOut;
    QTest::newRow("ticked from a list, script link kept")
        << QStringList{"--ticked-from", "LIST", "--keep-script-links"} << bm + heading("News") + n
        << QByteArray();
}

void TestQuillonExport::leavesLinksOut()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, scriptMessage);
    FavoritesTree tree;
    buildMixedTree(tree);
    QTemporaryDir other;
    const QString patterns = other.filePath(QStringLiteral("patterns"));
    QFile file(patterns);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# not News\nNews/*\n\nWork/w\n");
    file.close();
    options.replaceInStrings(QStringLiteral("PATTERNS"), patterns);
    const QString listPath = other.filePath(QStringLiteral("list.dat"));
    QFile listFile(listPath);
    QVERIFY(listFile.open(QIODevice::WriteOnly));
    listFile.write("<UL> \r\n" + linkLine("n", "http://n/") +
                   linkLine("bm", "javascript:alert(1)") + "</UL> \r\n");
    listFile.close();
    options.replaceInStrings(QStringLiteral("LIST"), listPath);

    const Run run = runExport(options << tree.root());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, "<UL> \r\n" + list + "</UL> \r\n");
    if (scriptMessage.isEmpty())
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    else
        QVERIFY2(run.err.contains(scriptMessage), run.err.constData());
}

void TestQuillonExport::badInputFileWritesNothing()
{
    FavoritesTree tree;
    buildMixedTree(tree);
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("links.html"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("precious");
    old.close();
    // A missing file, a folder, and (for the list) a file that is no list.
    const QStringList inputs = {out.filePath(QStringLiteral("missing")), out.path(), target};
    for (const QString &option :
         {QStringLiteral("--exclude-from"), QStringLiteral("--ticked-from")})
        for (const QString &input : inputs.mid(0, option == u"--exclude-from" ? 2 : 3)) {
            const Run run = runExport({option, input, QStringLiteral("-o"), target, tree.root()});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(input.toUtf8()), run.err.constData());
            QCOMPARE(readFileBytes(target), QByteArray("precious"));
        }
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"links.html"}));
}

void TestQuillonExport::namesAreTakenByteForByte()
{
    // The shell passes the bytes; QProcess would pass the arguments as UTF-8 text.
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("odd/a.url"), QStringLiteral("http://a/"));
    const QByteArray root = QFile::encodeName(tree.root());
    QCOMPARE(::rename(root + "/odd", root + "/odd\xff"), 0);
    QTemporaryDir out;
    QFile old(out.filePath(QStringLiteral("out.html")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("precious");
    old.close();
    const auto runInShell = [&](const QString &script) {
        QProcess shell;
        shell.setWorkingDirectory(out.path());
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script,
                                                QStringLiteral(QUILLON_EXPORT_PATH), tree.root()});
        return shell.waitForFinished(30000) ? shell.exitCode() : -1;
    };
    // A folder named with a byte that is not UTF-8; a file whose name starts with a BOM.
    QCOMPARE(
        runInShell(QStringLiteral(
            "exec \"$0\" -o \"$(printf '\\357\\273\\277out.html')\" \"$1/$(printf 'odd\\377')\"")),
        0);
    QCOMPARE(readFileBytes(out.filePath(QStringLiteral("\uFEFFout.html"))),
             QByteArray("<UL> \r\n") + linkLine("a", "http://a/") + "</UL> \r\n");
    QCOMPARE(readFileBytes(out.filePath(QStringLiteral("out.html"))), QByteArray("precious"));
    // A file name Qt cannot write exactly is refused, never written under another name.
    QCOMPARE(runInShell(QStringLiteral("exec \"$0\" -o \"$(printf 'x\\377.html')\" \"$1\"")), 1);
    QCOMPARE(QDir(out.path()).count(), 2u + 2u); // ".", "..", and the two files above
}

void TestQuillonExport::terminalShowsWhatWasWritten()
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("no 'script' program to give the exporter a terminal");
    FavoritesTree tree;
    buildMixedTree(tree);
    QTemporaryDir out;
    QProcess process;
    process.start(script, {QStringLiteral("-qec"),
                           QStringLiteral("'%1' --exclude 'Work*' -o '%2' '%3'")
                               .arg(QStringLiteral(QUILLON_EXPORT_PATH),
                                    out.filePath(QStringLiteral("l.dat")), tree.root()),
                           QStringLiteral("/dev/null")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QByteArray shown = process.readAllStandardOutput();
    QVERIFY2(shown.contains("4 links written, 3 left out"), shown.constData());
}

void TestQuillonExport::signalLeavesTheOldFile()
{
    FavoritesTree tree;
    for (int folder = 0; folder < 20; ++folder)
        for (int file = 0; file < 100; ++file)
            tree.addShortcut(QStringLiteral("f%1/s%2.url").arg(folder).arg(file),
                             QStringLiteral("http://x/%1/%2").arg(folder).arg(file));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("links.html"));
    // Whenever the signal comes, the run either ends as asked and left the old file alone, or
    // had already finished the new one. Never a cut-off file, a temporary left behind, or 0
    // after a signal was taken.
    for (int delayMs = 0; delayMs <= 60; delayMs += 4) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("precious");
        old.close();
        QProcess process;
        process.start(QStringLiteral(QUILLON_EXPORT_PATH),
                      {QStringLiteral("--html"), QStringLiteral("-o"), target, tree.root()});
        QVERIFY(process.waitForStarted());
        QThread::msleep(ulong(delayMs));
        ::kill(pid_t(process.processId()), delayMs % 8 == 0 ? SIGTERM : SIGINT);
        QVERIFY(process.waitForFinished(30000));
        const QByteArray now = readFileBytes(target);
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
            QVERIFY(now.endsWith("</HTML>\r\n"));
        } else {
            QVERIFY2(process.exitStatus() == QProcess::CrashExit || process.exitCode() == 130 ||
                         process.exitCode() == 143,
                     qPrintable(QString::number(process.exitCode())));
            QCOMPARE(now, QByteArray("precious"));
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"links.html"}));
    }
}

void TestQuillonExport::outputNamingADescriptorWritesToIt_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QByteArray>("written");
    const QByteArray list =
        "<UL> \r\n<LI><A HREF='http://a/' target='_blank'>a</A><BR>\r\n</UL> \r\n";
    QTest::newRow("dash") << "-"
                          << "HEADER\n" + list;
    QTest::newRow("/dev/stdout") << "/dev/stdout"
                                 << "HEADER\n" + list;
    QTest::newRow("/dev/fd/1") << "/dev/fd/1"
                               << "HEADER\n" + list;
    QTest::newRow("link to /dev/stdout") << "@/out"
                                         << "HEADER\n" + list;
    QTest::newRow("another process's output") << "/proc/1/fd/1" << QByteArray("HEADER\n");
}

void TestQuillonExport::outputNamingADescriptorWritesToIt()
{
    QFETCH(QString, output);
    QFETCH(QByteArray, written);
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("a.url"), QStringLiteral("http://a/"));
    QVERIFY(QFile::link(QStringLiteral("/dev/stdout"), tree.path("out")));
    output.replace(u'@', tree.root());
    // What the shell had written before stays: the list is added, not put in the file's place.
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("{ echo HEADER; \"$0\" -o \"$1\" \"$2\"; } > \"$3\""),
                 QStringLiteral(QUILLON_EXPORT_PATH), output, tree.root(), tree.path("f")});
    QVERIFY(shell.waitForFinished(30000));
    QCOMPARE(readFileBytes(tree.path("f")), written);
}

void TestQuillonExport::signalStopsAWriteToAFullPipe_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestQuillonExport::signalStopsAWriteToAFullPipe()
{
    QFETCH(int, signal);
    FavoritesTree tree;
    // Far more than a pipe holds.
    for (int file = 0; file < 200; ++file)
        tree.addShortcut(QStringLiteral("s%1.url").arg(file),
                         QStringLiteral("http://x/%1/").arg(file) + QString(2000, u'x'));
    // A FIFO nobody reads: the exporter's standard output fills and its write blocks.
    const QByteArray fifo = QFile::encodeName(tree.path("fifo"));
    QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    const auto closeReader = qScopeGuard([reader] { ::close(reader); });
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$1\" > \"$2\""),
                   QStringLiteral(QUILLON_EXPORT_PATH), tree.root(), tree.path("fifo")});
    QVERIFY(process.waitForStarted());
    int queued = 0;
    while (queued < 65536 && process.state() == QProcess::Running) {
        QThread::msleep(10);
        QVERIFY(::ioctl(reader, FIONREAD, &queued) == 0);
    }
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signal);
}

void TestQuillonExport::everyKindIsReadBack_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"--markdown", "--json", "--csv"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
    QTest::newRow("an empty list ticks nothing") << QString();
}

// A list written with one link left out, read back: the same list again. An empty file, as an
// empty folder writes it, is a list that ticks nothing.
void TestQuillonExport::everyKindIsReadBack()
{
    QFETCH(QString, kind);
    const QString tree = QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites");
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list"));
    const QStringList kindOption = kind.isEmpty() ? QStringList() : QStringList{kind};
    const Run first = runExport(QStringList{QStringLiteral("--exclude"), QStringLiteral("News/*"),
                                            QStringLiteral("-o"), list} +
                                kindOption + QStringList{kind.isEmpty() ? dir.path() : tree});
    QCOMPARE(first.exitCode, 0);
    const Run again = runExport(QStringList{QStringLiteral("--ticked-from"), list} + kindOption +
                                QStringList{tree});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(again.out, kind.isEmpty() ? QByteArray("<UL> \r\n</UL> \r\n") : readFileBytes(list));
    QVERIFY(!again.out.contains("BBC"));
}

QUILLON_TEST_MAIN(TestQuillonExport)
#include "tst_quillonexport.moc"
