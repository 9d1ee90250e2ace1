#include "failingdevice.h"
#include "favoritestree.h"
#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "testmain.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace quillon;
using quillon::test::FailingDevice;
using quillon::test::readFileBytes;

Q_DECLARE_METATYPE(quillon::LinkRecord)

namespace {

LinkRecord rec(bool ticked, QString folder, QString site, QString url)
{
    return {ticked, std::move(folder), std::move(site), std::move(url)};
}

LinkTable sampleTable()
{
    LinkTable t;
    t.append(rec(true, QString(), QStringLiteral("Top"), QStringLiteral("http://top/")));
    t.append(
        rec(true, QStringLiteral("News"), QStringLiteral("BBC"), QStringLiteral("http://bbc/")));
    t.append(rec(true, QString(), QStringLiteral("CNN"), QStringLiteral("http://cnn/")));
    return t;
}

} // namespace

class TestLinkListWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageAndFragment();
    void headingsFollowTheTicks_data();
    void headingsFollowTheTicks();
    void valuesAreEscapedToPureAscii_data();
    void valuesAreEscapedToPureAscii();
    void emptyTableWritesNothing();
    void failingDeviceReportsItsError();
    void saveReplacesTheWholeFile();
    void failedSaveKeepsTheOldFile();
};

void TestLinkListWriter::pageAndFragment()
{
    const LinkTable table = sampleTable();
    const QByteArray list = "<UL> \r\n"
                            "<LI><A HREF='http://top/' target='_blank'>Top</A><BR>\r\n"
                            "<BR>\r\n<FONT SIZE='+1'><U><B>News</B></U></FONT>\r\n<BR>\r\n"
                            "<LI><A HREF='http://bbc/' target='_blank'>BBC</A><BR>\r\n"
                            "<LI><A HREF='http://cnn/' target='_blank'>CNN</A><BR>\r\n"
                            "</UL> \r\n";
    QCOMPARE(linkListBytes(table, OutputKind::Dat), list);
    QCOMPARE(linkListBytes(table, OutputKind::Html),
             "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n" + list +
                 "</BODY>\r\n</HTML>\r\n");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeLinkList(buffer, table, OutputKind::Dat));
    QCOMPARE(buffer.data(), list);
}

void TestLinkListWriter::headingsFollowTheTicks_data()
{
    QTest::addColumn<QList<bool>>("ticks");
    QTest::addColumn<QByteArray>("expected");
    // Rows: Top (start folder), News: BBC, CNN, Sport: ESPN.
    const QByteArray news = "<BR>\r\n<FONT SIZE='+1'><U><B>News</B></U></FONT>\r\n<BR>\r\n";
    const QByteArray sport = "<BR>\r\n<FONT SIZE='+1'><U><B>Sport</B></U></FONT>\r\n<BR>\r\n";
    const QByteArray top = "<LI><A HREF='http://top/' target='_blank'>Top</A><BR>\r\n";
    const QByteArray bbc = "<LI><A HREF='http://bbc/' target='_blank'>BBC</A><BR>\r\n";
    const QByteArray cnn = "<LI><A HREF='http://cnn/' target='_blank'>CNN</A><BR>\r\n";
    const QByteArray espn = "<LI><A HREF='http://espn/' target='_blank'>ESPN</A><BR>\r\n";
    const QByteArray open = "<UL> \r\n";
    const QByteArray close = "</UL> \r\n";
    QTest::newRow("all ticked: one heading per folder")
        << QList<bool>{true, true, true, true}
        << open + top + news + bbc + cnn + sport + espn + close;
    QTest::newRow("none ticked") << QList<bool>{false, false, false, false} << open + close;
    QTest::newRow("first of a group unticked: heading moves to the next ticked")
        << QList<bool>{true, false, true, true} << open + top + news + cnn + sport + espn + close;
    QTest::newRow("group with nothing ticked has no heading")
        << QList<bool>{true, false, false, true} << open + top + sport + espn + close;
    QTest::newRow("only the first of a group")
        << QList<bool>{false, true, false, false} << open + news + bbc + close;
    QTest::newRow("start folder unticked")
        << QList<bool>{false, false, true, false} << open + news + cnn + close;
}

void TestLinkListWriter::headingsFollowTheTicks()
{
    QFETCH(QList<bool>, ticks);
    QFETCH(QByteArray, expected);
    LinkTable table;
    table.append(rec(true, QString(), QStringLiteral("Top"), QStringLiteral("http://top/")));
    table.append(
        rec(true, QStringLiteral("News"), QStringLiteral("BBC"), QStringLiteral("http://bbc/")));
    table.append(rec(true, QString(), QStringLiteral("CNN"), QStringLiteral("http://cnn/")));
    table.append(
        rec(true, QStringLiteral("Sport"), QStringLiteral("ESPN"), QStringLiteral("http://espn/")));
    for (int i = 0; i < ticks.size(); ++i)
        table.setTicked(i, ticks[i]);
    QCOMPARE(linkListBytes(table, OutputKind::Dat), expected);
}

void TestLinkListWriter::valuesAreEscapedToPureAscii_data()
{
    QTest::addColumn<LinkRecord>("record");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("null values write nothing")
        << rec(true, QString(), QString(), QString())
        << QByteArray("<LI><A HREF='' target='_blank'></A><BR>\r\n");
    QTest::newRow("empty folder gives no heading")
        << rec(true, QString(), QStringLiteral("s"), QStringLiteral("u"))
        << QByteArray("<LI><A HREF='u' target='_blank'>s</A><BR>\r\n");
    QTest::newRow("blank folder is a heading")
        << rec(true, QStringLiteral("  "), QStringLiteral("s"), QStringLiteral("u"))
        << QByteArray("<BR>\r\n<FONT SIZE='+1'><U><B>  </B></U></FONT>\r\n<BR>\r\n"
                      "<LI><A HREF='u' target='_blank'>s</A><BR>\r\n");
    QTest::newRow("markup characters")
        << rec(true, QStringLiteral("A<B>&\"C\""), QStringLiteral("It's <b>"),
               QStringLiteral("http://x/?a=1&b='2'"))
        << QByteArray("<BR>\r\n<FONT SIZE='+1'><U><B>A&lt;B&gt;&amp;&quot;C&quot;</B></U></FONT>"
                      "\r\n<BR>\r\n<LI><A HREF='http://x/?a=1&amp;b=&#39;2&#39;' "
                      "target='_blank'>It&#39;s &lt;b&gt;</A><BR>\r\n");
    QTest::newRow("C1 controls, as in every list")
        << rec(true, QString(), QStringLiteral("\u0080\u0081\u0085\u009d\u009f\u00a0"), QString())
        << QByteArray("<LI><A HREF='' target='_blank'>&#65533;&#65533;&#65533;&#65533;&#65533;"
                      "&#160;</A><BR>\r\n");
    QTest::newRow("non-ASCII as code points, never surrogate halves")
        << rec(true, QString(), QStringLiteral("Caf\u00e9 \U0001F600\t\u007f"),
               QString(QChar(0xD800)) + u'x')
        << QByteArray("<LI><A HREF='&#65533;x' target='_blank'>Caf&#233; &#128512;&#9;&#127;"
                      "</A><BR>\r\n");
}

void TestLinkListWriter::valuesAreEscapedToPureAscii()
{
    QFETCH(LinkRecord, record);
    QFETCH(QByteArray, expected);
    LinkTable table;
    table.append(record);
    QCOMPARE(linkListBytes(table, OutputKind::Dat), "<UL> \r\n" + expected + "</UL> \r\n");
}

void TestLinkListWriter::emptyTableWritesNothing()
{
    QVERIFY(linkListBytes(LinkTable(), OutputKind::Html).isEmpty());
    QVERIFY(linkListBytes(LinkTable(), OutputKind::Dat).isEmpty());
}

void TestLinkListWriter::failingDeviceReportsItsError()
{
    FailingDevice device(10);
    QString error;
    QVERIFY(!writeLinkList(device, sampleTable(), OutputKind::Html, &error));
    QCOMPARE(error, QStringLiteral("No space left on device"));
}

void TestLinkListWriter::saveReplacesTheWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("links"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'o'));
    old.close();

    QVERIFY(saveLinkList(path, sampleTable(), OutputKind::Dat));
    QCOMPARE(readFileBytes(path), linkListBytes(sampleTable(), OutputKind::Dat));
    QVERIFY(saveLinkList(path, LinkTable(), OutputKind::Dat));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"links"}));
}

void TestLinkListWriter::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("keep.html"));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("precious");
    f.close();

    QString error;
    QVERIFY(!saveLinkList(dir.filePath(QStringLiteral("missing/out.html")), sampleTable(),
                          OutputKind::Html, &error));
    QVERIFY(error.contains(QStringLiteral("missing/out.html")));

    QDir(dir.path()).mkdir(QStringLiteral("adir"));
    QVERIFY(!saveLinkList(dir.filePath(QStringLiteral("adir")), sampleTable(), OutputKind::Html,
                          &error));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("adir"))).isDir());

    // Cancelled at the last moment, after everything was written to the temporary file.
    QVERIFY(!saveLinkList(existing, sampleTable(), OutputKind::Html, &error, [] { return false; }));

    if (::geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!saveLinkList(existing, sampleTable(), OutputKind::Html, &error));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(readFileBytes(existing), QByteArray("precious"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.html"}));
}

QUILLON_TEST_MAIN(TestLinkListWriter)
#include "tst_linklistwriter.moc"
