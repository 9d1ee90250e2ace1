#include "links/linktable.h"
#include "links/listedlink.h"
#include "testmain.h"

using namespace quillon;

namespace {

// Records from "ticked|site|address" texts; "-" for a field means null.
LinkTable tableOf(const QStringList &rows)
{
    LinkTable table;
    for (const QString &row : rows) {
        const QStringList f = row.split(u'|');
        const auto field = [](const QString &v) {
            return v == u"-" ? QString() : v;
        };
        table.append({f[0] == u"1", {}, field(f[1]), field(f[2]), {}});
    }
    return table;
}

QList<int> tickedRows(const LinkTable &table)
{
    QList<int> rows;
    for (int row = 0; row < table.recordCount(); ++row)
        if (table.record(row).ticked)
            rows.append(row);
    return rows;
}

} // namespace

class TestListedLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tickAsInList_data();
    void tickAsInList();
    void untickDuplicates_data();
    void untickDuplicates();
};

void TestListedLink::tickAsInList_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("listed"); // "site|address"
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<int>("notFound");

    const QStringList rows = {"1|A|http://a/", "0|B|http://b/", "1|C|http://c/", "0|A|http://a/"};
    QTest::newRow("exactly the listed rows, however they were ticked")
        << rows << QStringList{"B|http://b/", "A|http://a/"} << QList<int>{0, 1, 3} << 0;
    QTest::newRow("address and name must both match")
        << rows << QStringList{"A|http://b/", "a|http://a/", "C|http://c"} << QList<int>{} << 3;
    QTest::newRow("links not in the table are counted once each")
        << rows << QStringList{"Gone|http://gone/", "C|http://c/", "Gone|http://gone/"}
        << QList<int>{2} << 2;
    QTest::newRow("empty list unticks everything") << rows << QStringList{} << QList<int>{} << 0;
    QTest::newRow("null fields match empty ones")
        << QStringList{"0|-|-", "0|-|http://x/"} << QStringList{"|", "|http://x/"}
        << QList<int>{0, 1} << 0;
    QTest::newRow("as the bookmarks file keeps line breaks")
        << QStringList{"0|Two\tparts|http://x/\ny", "0|Two parts|http://x/y"}
        << QStringList{"Two parts|http://x/y"} << QList<int>{0, 1} << 0;
    QTest::newRow("as the page keeps C1 controls and lone surrogates")
        << QStringList{QString::fromUtf8("0|\xC2\x80\xC2\x81|http://x/") + QChar(0xDC00)}
        << QStringList{QString::fromUtf8("\xEF\xBF\xBD\xC2\x81|http://x/\xEF\xBF\xBD")}
        << QList<int>{0} << 0;
}

void TestListedLink::tickAsInList()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, listed);
    QFETCH(QList<int>, ticked);
    QFETCH(int, notFound);

    LinkTable table = tableOf(rows);
    std::vector<ListedLink> links;
    for (const QString &link : listed)
        links.push_back({link.section(u'|', 1), link.section(u'|', 0, 0)});
    const TicksFromList result = quillon::tickAsInList(table, links);
    QCOMPARE(result.tickedRows, ticked);
    QCOMPARE(tickedRows(table), ticked);
    QCOMPARE(result.linksNotFound, notFound);
}

void TestListedLink::untickDuplicates_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("ticked");

    QTest::newRow("later ticked copies go, whatever their names")
        << QStringList{"1|A|http://a/", "1|B|http://b/", "1|A again|http://a/", "1|A|http://a/"}
        << QList<int>{0, 1};
    QTest::newRow("an unticked first copy does not count")
        << QStringList{"0|A|http://a/", "1|A|http://a/", "1|A|http://a/"} << QList<int>{1};
    QTest::newRow("empty and null addresses are never duplicates")
        << QStringList{"1|A|", "1|B|", "1|C|-", "1|D|-"} << QList<int>{0, 1, 2, 3};
    QTest::newRow("one page, however its address is written")
        << QStringList{"1|A|https://www.Example.org/a/?utm_medium=m#", "1|A|http://example.org/a",
                       "1|A|HTTP://EXAMPLE.ORG/a/#", "1|A|http://example.org/a?utm_source=s",
                       "1|A|https://example.org/a/?utm_source=s&utm_medium=m"}
        << QList<int>{0};
    QTest::newRow("utm parameters in any order, the others kept where they are")
        << QStringList{"1|A|http://a.example/p?id=1&utm_source=x&k=2",
                       "1|A|http://a.example/p?utm_campaign=z&id=1&k=2&utm_source=y",
                       "1|A|http://a.example/p?k=2&id=1"}
        << QList<int>{0, 2};
    QTest::newRow("different pages stay")
        << QStringList{"1|A|http://a.example/path",
                       "1|A|http://a.example/Path",
                       "1|A|http://a.example/path#top",
                       "1|A|http://a.example/path?id=2",
                       "1|A|http://a.example/path?",
                       "1|A|http://a.example/path//",
                       "1|A|ftp://a.example/path",
                       "1|A|http://a.example:8080/path",
                       "1|A|http://User@a.example/path",
                       "1|A|http://user@a.example/path",
                       "1|A|http://www2.a.example/path",
                       "1|A|http://wwwa.example/path",
                       "1|A| http://a.example/path",
                       "1|A|C:\\path",
                       "1|A|c:\\path"}
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
}

void TestListedLink::untickDuplicates()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, ticked);

    LinkTable table = tableOf(rows);
    const int before = int(tickedRows(table).size());
    QCOMPARE(quillon::untickDuplicates(table), before - int(ticked.size()));
    QCOMPARE(tickedRows(table), ticked);
}

QUILLON_TEST_MAIN(TestListedLink)
#include "tst_listedlink.moc"
