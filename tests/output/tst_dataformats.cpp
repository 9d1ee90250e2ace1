#include "links/linktable.h"
#include "output/htmlescape.h"
#include "output/linklistwriter.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::OutputKind)

namespace {

LinkRecord rec(bool ticked, QString folder, QString site, QString url,
               std::optional<qint64> date = std::nullopt)
{
    return {ticked, std::move(folder), std::move(site), std::move(url), date};
}

// Rows: Top (start folder), News: BBC, CNN, News/World: AP.
LinkTable newsTable(const QList<bool> &ticks)
{
    LinkTable table;
    table.append(rec(true, {}, "Top", "http://top/", 1700000000));
    table.append(rec(true, "News", "BBC", "http://bbc/"));
    table.append(rec(true, {}, "CNN", "http://cnn/"));
    table.append(rec(true, "News/World", "AP", "http://ap/", 0));
    for (int row = 0; row < ticks.size(); ++row)
        table.setTicked(row, ticks[row]);
    return table;
}

} // namespace

class TestDataFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesEachFormat_data();
    void writesEachFormat();
    void markdownRendersExactlyTheNames();
};

void TestDataFormats::writesEachFormat_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QList<bool>>("ticks");
    QTest::addColumn<QByteArray>("expected");

    const QList<bool> all{true, true, true, true};
    const QList<bool> firstOfNewsUnticked{true, false, true, true};
    const QList<bool> noNews{false, false, false, true};
    QTest::newRow("markdown") << OutputKind::Markdown << all
                              << QByteArray(
                                     "- [Top](http://top/)\n\n"
                                     "## News\n- [BBC](http://bbc/)\n- [CNN](http://cnn/)\n\n"
                                     "## News/World\n- [AP](http://ap/)\n");
    QTest::newRow("markdown: heading moves to the first ticked")
        << OutputKind::Markdown << firstOfNewsUnticked
        << QByteArray("- [Top](http://top/)\n\n## News\n- [CNN](http://cnn/)\n\n"
                      "## News/World\n- [AP](http://ap/)\n");
    QTest::newRow("markdown: no heading for a folder with nothing ticked")
        << OutputKind::Markdown << noNews << QByteArray("## News/World\n- [AP](http://ap/)\n");
    QTest::newRow("markdown: nothing ticked")
        << OutputKind::Markdown << QList<bool>{false, false, false, false} << QByteArray();
    QTest::newRow("csv") << OutputKind::Csv << firstOfNewsUnticked
                         << QByteArray("\xEF\xBB\xBF"
                                       "folder,site,address,date\r\n"
                                       ",Top,http://top/,2023-11-14T22:13:20Z\r\n"
                                       "News,CNN,http://cnn/,\r\n"
                                       "News/World,AP,http://ap/,1970-01-01T00:00:00Z\r\n");
    QTest::newRow("json") << OutputKind::Json << noNews
                          << QByteArray("{\n  \"generator\": \"Quillon " QUILLON_VERSION "\",\n"
                                        "  \"links\": [\n    {\"address\":\"http://ap/\","
                                        "\"date\":\"1970-01-01T00:00:00Z\",\"folder\":"
                                        "\"News/World\",\"site\":\"AP\"}\n  ],\n"
                                        "  \"folders\": {\"name\": \"\", \"links\": [], "
                                        "\"folders\": [\n    {\"name\": \"News\", \"links\": [], "
                                        "\"folders\": [\n      {\"name\": \"World\", \"links\": [\n"
                                        "        {\"address\":\"http://ap/\",\"date\":"
                                        "\"1970-01-01T00:00:00Z\",\"folder\":\"News/World\","
                                        "\"site\":\"AP\"}\n      ], \"folders\": []}\n    ]}\n"
                                        "  ]}\n}\n");
    QTest::newRow("json: nothing ticked")
        << OutputKind::Json << QList<bool>{false, false, false, false}
        << QByteArray("{\n  \"generator\": \"Quillon " QUILLON_VERSION "\",\n  \"links\": [],\n"
                      "  \"folders\": {\"name\": \"\", \"links\": [], \"folders\": []}\n}\n");
}

void TestDataFormats::writesEachFormat()
{
    QFETCH(OutputKind, kind);
    QFETCH(QList<bool>, ticks);
    QFETCH(QByteArray, expected);
    QCOMPARE(linkListBytes(newsTable(ticks), kind), expected);
}

// A CommonMark renderer shows every name and address exactly, whatever markup they hold.
void TestDataFormats::markdownRendersExactlyTheNames()
{
    const QString cmark = QStandardPaths::findExecutable(QStringLiteral("cmark"));
    if (cmark.isEmpty())
        QSKIP("cmark is not installed (Debian package cmark); the CommonMark check is skipped");
    const QStringList hostile = {"# [a](b) *c* _d_ `e` <f> &amp; ![g] \\ ~h~ #",
                                 "1. one",
                                 "2) two",
                                 "- dash",
                                 "+ plus",
                                 "> quote",
                                 "=== setext",
                                 "  spaced  ",
                                 "&copy; &#65; <!-- c -->",
                                 "Caf\u00e9 \U0001F600",
                                 "\u0001control",
                                 "a\\",
                                 "[x]: /ref",
                                 "***",
                                 "#"};
    const QStringList addresses = {"http://x/a b(c)<d>\\e&amp;",
                                   "http://x/`y`",
                                   "file:///C:/Program Files/",
                                   "(",
                                   "<",
                                   "http://x/\\)",
                                   "http://x/?a=1&b=2",
                                   "",
                                   "http://x/*a*_b_",
                                   "http://x/\u00e9",
                                   " ",
                                   "http://x/\u0001",
                                   "javascript:x",
                                   "a>b",
                                   "http://x/%20"};
    LinkTable table;
    for (qsizetype i = 0; i < hostile.size(); ++i)
        table.append(rec(true, i % 2 ? QString() : hostile[i], hostile[i], addresses[i]));
    QProcess renderer;
    renderer.start(cmark, {QStringLiteral("--unsafe")});
    QVERIFY(renderer.waitForStarted());
    renderer.write(linkListBytes(table, OutputKind::Markdown));
    renderer.closeWriteChannel();
    QVERIFY(renderer.waitForFinished());
    const QString html = QString::fromUtf8(renderer.readAllStandardOutput());

    QStringList headings;
    const QRegularExpression heading(QStringLiteral("<h2>(.*)</h2>"));
    for (const QRegularExpressionMatch &match : heading.globalMatch(html))
        headings << htmlUnescaped(match.captured(1).toUtf8());
    QStringList expectedHeadings;
    for (qsizetype i = 0; i < hostile.size(); i += 2)
        expectedHeadings << hostile[i];
    QCOMPARE(headings, expectedHeadings);

    QStringList links;
    const QRegularExpression link(QStringLiteral("<li><a href=\"([^\"]*)\">(.*)</a></li>"));
    for (const QRegularExpressionMatch &match : link.globalMatch(html)) {
        // The renderer percent-encodes the address; decoded, it is the address again.
        const QString href = htmlUnescaped(match.captured(1).toUtf8());
        links << htmlUnescaped(match.captured(2).toUtf8()) + u'|' +
                     QString::fromUtf8(QByteArray::fromPercentEncoding(href.toUtf8()));
    }
    QStringList expectedLinks;
    for (qsizetype i = 0; i < hostile.size(); ++i)
        expectedLinks << hostile[i] + u'|' +
                             QString::fromUtf8(
                                 QByteArray::fromPercentEncoding(addresses[i].toUtf8()));
    QCOMPARE(links, expectedLinks);
}

QUILLON_TEST_MAIN(TestDataFormats)
#include "tst_dataformats.moc"
