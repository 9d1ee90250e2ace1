#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/linklistwriter.h"
#include "output/writtenlist.h"
#include "testmain.h"

#include <QDir>
#include <QTemporaryDir>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::OutputKind)

namespace {

LinkRecord rec(bool ticked, QString folder, QString site, QString url,
               std::optional<qint64> date = 1700000000)
{
    return {ticked, std::move(folder), std::move(site), std::move(url), date};
}

// Favorites with every kind of awkward value: folders, escapes, non-ASCII, a C1 control, a script
// link, a link listed twice, an empty address, a leading U+FEFF, Markdown markup, spreadsheet
// formulas.
std::vector<LinkRecord> favorites()
{
    return {
        rec(true, {}, "Top & <b>", "http://top/?a=1&b='2'"),
        rec(true, {}, QChar(0xFEFF) + QString("Zero width"), QChar(0xFEFF) + QString("x:")),
        rec(true, {}, "# [a](b) *c* _d_ `e` <f> &amp; !g \\ ~h~ #", "http://x/a b(c)<d>\\e&amp;"),
        rec(true, {}, "1. - + > =SUM(A1)", "=cmd|' /C calc'!A0"),
        rec(true, {}, "'=x", "-2+3 @a"),
        rec(false, {}, "Untouched", "http://untouched/"),
        rec(true, "News", QString::fromUtf8("Caf\xC3\xA9 \"M\xC3\xBCller\""), "http://cafe/"),
        rec(false, {}, "Skipped", "http://skipped/"),
        rec(true, {}, QString("Literal &#233; ") + QChar(0x85), "http://literal/"),
        rec(true, "News/Deep", "Twice", "http://twice/"),
        rec(true, {}, "Twice", "http://twice/"),
        rec(true, {}, "No address", ""),
        rec(false, "Script", "Bookmarklet", "javascript:alert(1)"),
        rec(true, "Other", "Emoji \xF0\x9F\x98\x80", "http://emoji/")};
}

QStringList pairs(const std::vector<ListedLink> &links)
{
    QStringList out;
    for (const ListedLink &link : links)
        out << link.siteName + u'|' + link.address;
    return out;
}

} // namespace

class TestWrittenList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsOtherLists_data();
    void readsOtherLists();
    void refusesWhatIsNoList_data();
    void refusesWhatIsNoList();
    void remakeGivesTheSameBytes_data();
    void remakeGivesTheSameBytes();
    void loadNamesTheFile();
};

void TestWrittenList::remakeGivesTheSameBytes_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::newRow("dat") << OutputKind::Dat;
    QTest::newRow("page") << OutputKind::Html;
    QTest::newRow("bookmarks") << OutputKind::Bookmarks;
    QTest::newRow("markdown") << OutputKind::Markdown;
    QTest::newRow("json") << OutputKind::Json;
    QTest::newRow("csv") << OutputKind::Csv;
}

void TestWrittenList::readsOtherLists_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("DAT with LF line ends, a byte-order mark and references")
        << QByteArray("\xEF\xBB\xBF<UL> \n<LI><A HREF='http://x/&#233;&#128512;&#x41;' "
                      "target='_blank'>&amp;#39; &#39;&lt;&gt;&quot;&bogus;</A><BR>\n</UL> \n")
        << QStringList{QString::fromUtf8("&#39; '<>\"&bogus;|http://x/\xC3\xA9\xF0\x9F\x98\x80"
                                         "A")};
    QTest::newRow("page with other lines around")
        << QByteArray("<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<UL> \r\n"
                      "<BR>\r\n<FONT SIZE='+1'><U><B>News</B></U></FONT>\r\n<BR>\r\n"
                      "<LI><A HREF='http://a/' target='_blank'>A</A><BR>\r\n"
                      "<P>added by hand</P>\r\n</UL> \r\n</BODY>\r\n</HTML>\r\n")
        << QStringList{"A|http://a/"};
    QTest::newRow("bookmarks exported by a browser")
        << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- generated -->\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
                      "    <DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>\n"
                      "    <DL><p>\n"
                      "        <DT><A HREF=\"https://b/?x=&quot;1&quot;\" ADD_DATE=\"2\" "
                      "ICON=\"data:image/png;base64,AAA=\">B &amp; b</A>\n"
                      "        <DD>A description\n"
                      "        <HR>\n"
                      "    </DL><p>\n"
                      "    <DT><A ADD_DATE=\"3\" HREF=\"https://c/\">C</A>\n"
                      "</DL>\n")
        << QStringList{"B & b|https://b/?x=\"1\"", "C|https://c/"};
    QTest::newRow("empty lists") << QByteArray("<UL> \r\n</UL> \r\n") << QStringList{};
    QTest::newRow("an empty folder's DAT list or page") << QByteArray() << QStringList{};
    QTest::newRow("U+FEFF in a name, as a reference and raw")
        << QByteArray("<UL> \n<LI><A HREF='&#65279;a' target='_blank'>&#xFEFF;b</A><BR>\n</UL>\n")
        << QStringList{QChar(0xFEFF) + QString("b|") + QChar(0xFEFF) + "a"};
    QTest::newRow("CSV as a spreadsheet saves it")
        << QByteArray("folder,site,address,date\n,\"'=A\"\"B\",''=x,\n")
        << QStringList{"=A\"B|'=x"};
}

void TestWrittenList::readsOtherLists()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QString error;
    const auto links = readWrittenList(bytes, &error);
    QVERIFY2(links, qPrintable(error));
    QCOMPARE(pairs(*links), expected);
}

void TestWrittenList::refusesWhatIsNoList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QString noList = "it is not a link list that Quillon wrote (a DAT list, a web page, a "
                           "bookmarks file, Markdown, JSON or CSV)";
    QTest::newRow("only line ends, as far as it looks")
        << QByteArray(64 * 1024, '\n') + "<UL> \n</UL> \n"
        << noList;
    QTest::newRow("a shortcut") << QByteArray("[InternetShortcut]\r\nURL=http://x/\r\n") << noList;
    QTest::newRow("another page") << QByteArray("<!DOCTYPE html>\n<ul><li>x</li></ul>\n") << noList;
    QTest::newRow("binary") << QByteArray("\x00\x01\x02<UL>", 7) << noList;
    QTest::newRow("DAT cut off")
        << QByteArray("<UL> \r\n<LI><A HREF='http://a/' target='_blank'>A</A><BR>\r\n")
        << "it ends before its list does";
    QTest::newRow("page without its list")
        << QByteArray("<HTML>\r\n<HEAD>\r\n") << "it ends before its list does";
    QTest::newRow("DAT link line broken")
        << QByteArray("<UL> \r\n<LI><A HREF='http://a/'>A</A><BR>\r\n</UL> \r\n")
        << "line 2 is not a link as Quillon writes it";
    QTest::newRow("bookmarks cut off")
        << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>F</H3>\n<DL><p>\n"
                      "</DL><p>\n")
        << "it ends before its list does";
    QTest::newRow("bookmarks without any list")
        << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n") << "it ends before its list does";
    QTest::newRow("bookmarks that close too much")
        << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n</DL><p>\n</DL><p>\n")
        << "its folders do not nest";
    QTest::newRow("bookmark without an address")
        << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A ADD_DATE=\"1\">x</A>\n"
                      "</DL><p>\n")
        << "line 3 is not a link as Quillon writes it";
    QTest::newRow("Markdown with other text")
        << QByteArray("## News\n- [A](http://a/)\nSome prose.\n")
        << "line 3 is not a link as Quillon writes it";
    QTest::newRow("Markdown link text that never ends")
        << QByteArray("- [A\\](http://a/)\n") << "line 1 is not a link as Quillon writes it";
    QTest::newRow("CSV quote that never closes")
        << QByteArray("\xEF\xBB\xBF"
                      "folder,site,address,date\r\n,A,http://a/,\r\n,\"B,x,\r\n")
        << "row 3 is not a link as Quillon writes it";
    QTest::newRow("CSV row short of a field")
        << QByteArray("folder,site,address,date\r\n,A,http://a/\r\n")
        << "row 2 is not a link as Quillon writes it";
    QTest::newRow("JSON cut off") << QByteArray("{\"links\": [")
                                  << "its JSON is broken at byte 11: unterminated array";
    QTest::newRow("JSON without links")
        << QByteArray("{\"folders\": {}}") << "it has no \"links\" list";
    QTest::newRow("JSON link without an address")
        << QByteArray("{\"links\": [{\"site\": \"A\", \"address\": null}]}")
        << "link 1 is not a link as Quillon writes it";
}

void TestWrittenList::refusesWhatIsNoList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QString found;
    QVERIFY(!readWrittenList(bytes, &found));
    QCOMPARE(found, error);
}

// Last month's list, re-made after new favorites were added and every row was ticked by the
// walk: ticking as in the list and writing again gives the same file.
void TestWrittenList::remakeGivesTheSameBytes()
{
    QFETCH(OutputKind, kind);
    LinkTable lastMonth;
    for (const LinkRecord &r : favorites())
        lastMonth.append(r);
    const QByteArray written = linkListBytes(lastMonth, kind);

    LinkTable today;
    int added = 0;
    for (LinkRecord r : favorites()) {
        if (r.opensFolderGroup() && r.folderName == u"Other") {
            today.append(rec(true, "New", "New", "http://new/"));
            ++added;
        }
        r.ticked = true;
        today.append(r);
        if (r.siteName == u"Skipped") {
            today.append(rec(true, {}, "Also new", "http://also-new/"));
            ++added;
        }
    }
    QCOMPARE(added, 2);

    const auto links = readWrittenList(written);
    QVERIFY(links);
    const TicksFromList ticks = tickAsInList(today, *links);
    QCOMPARE(ticks.linksNotFound, 0);
    QCOMPARE(ticks.tickedRows.size(), 11);
    QCOMPARE(linkListBytes(today, kind), written);
}

void TestWrittenList::loadNamesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    const QString missing = dir.filePath("missing.html");
    QVERIFY(!loadWrittenList(missing, &error));
    QVERIFY2(error.startsWith("Cannot read the list \"" + missing + "\": "), qPrintable(error));
    QVERIFY(!loadWrittenList(dir.path(), &error));
    QCOMPARE(error, "Cannot read the list \"" + dir.path() + "\": it is a folder");

    const QString notAList = dir.filePath("notes.txt");
    QFile file(notAList);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("hello\n") == 6);
    file.close();
    QVERIFY(!loadWrittenList(notAList, &error));
    QVERIFY2(error.endsWith("it is not a link list that Quillon wrote (a DAT list, a web page, a "
                            "bookmarks file, Markdown, JSON or CSV)"),
             qPrintable(error));
}

QUILLON_TEST_MAIN(TestWrittenList)
#include "tst_writtenlist.moc"
