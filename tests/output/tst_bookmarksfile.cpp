#include "links/linktable.h"
#include "output/bookmarksfile.h"
#include "output/linklistwriter.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::LinkTable)

namespace {

LinkRecord rec(bool ticked, QString folder, QString site, QString url,
               std::optional<qint64> date = std::nullopt)
{
    return {ticked, std::move(folder), std::move(site), std::move(url), date};
}

LinkTable tableOf(std::initializer_list<LinkRecord> records)
{
    LinkTable table;
    for (const LinkRecord &r : records)
        table.append(r);
    return table;
}

// Reads a bookmarks file back as an importer that goes line by line would, failing the test
// on any line that is not exactly one of the file's line forms. Each folder gives
// "F|depth|name|ADD_DATE|LAST_MODIFIED" and each link "L|depth|title|address|ADD_DATE", in
// file order; depth counts the open lists.
QStringList readStrictly(const QByteArray &bytes)
{
    static const QRegularExpression folderLine(
        R"re(^ *<DT><H3(?: ADD_DATE="(-?\d+)" LAST_MODIFIED="(-?\d+)")?>([^<>"]*)</H3>$)re");
    static const QRegularExpression linkLine(
        R"re(^ *<DT><A HREF="([^<>"]*)"(?: ADD_DATE="(-?\d+)")?>([^<>"]*)</A>$)re");
    static const QRegularExpression listStart(R"re(^ *<DL><p>$)re");
    static const QRegularExpression listEnd(R"re(^ *</DL><p>$)re");
    static const QRegularExpression strayAmpersand(R"re(&(?!amp;|lt;|gt;|quot;|#39;))re");
    const auto decoded = [](QString text) {
        if (text.contains(strayAmpersand))
            return QStringLiteral("<stray ampersand>");
        return text.replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&quot;", "\"")
            .replace("&#39;", "'")
            .replace("&amp;", "&");
    };

    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(u'\n');
    const QStringList head = {"<!DOCTYPE NETSCAPE-Bookmark-file-1>",
                              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                              "charset=UTF-8\">",
                              "<TITLE>Bookmarks</TITLE>", "<H1>Bookmarks</H1>", "<DL><p>"};
    if (lines.mid(0, head.size()) != head || lines.last() != QString())
        return {QStringLiteral("<bad head or no final line end>")};

    QStringList found;
    int depth = 1;
    bool folderOpening = false;
    for (qsizetype i = head.size(); i < lines.size() - 1; ++i) {
        const QString &line = lines[i];
        if (folderOpening && !listStart.match(line).hasMatch())
            return found << QStringLiteral("<folder without list at line %1>").arg(i + 1);
        if (auto m = folderLine.match(line); m.hasMatch()) {
            found << QStringLiteral("F|%1|%2|%3|%4")
                         .arg(depth)
                         .arg(decoded(m.captured(3)), m.captured(1), m.captured(2));
            folderOpening = true;
        } else if (auto m = linkLine.match(line); m.hasMatch()) {
            found << QStringLiteral("L|%1|%2|%3|%4")
                         .arg(depth)
                         .arg(decoded(m.captured(3)), decoded(m.captured(1)), m.captured(2));
        } else if (listStart.match(line).hasMatch() && folderOpening) {
            folderOpening = false;
            ++depth;
        } else if (listEnd.match(line).hasMatch() && depth > 0) {
            --depth;
        } else {
            return found << QStringLiteral("<bad line %1: %2>").arg(i + 1).arg(line);
        }
    }
    if (depth != 0)
        found << QStringLiteral("<lists left open: %1>").arg(depth);
    return found;
}

// The same reading done by Python's HTML parser, a full parser that knows nothing of lines.
const char *pythonReader = R"py(
import sys
from html.parser import HTMLParser
class Reader(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.depth, self.item, self.text = 0, None, ''
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'dl': self.depth += 1
        elif tag == 'h3': self.item = ['F', a.get('add_date') or '', a.get('last_modified') or '']
        elif tag == 'a': self.item = ['L', a.get('href'), a.get('add_date') or '']
        self.text = ''
    def handle_endtag(self, tag):
        if tag == 'dl': self.depth -= 1
        elif tag in ('h3', 'a') and self.item:
            kind, x, y = self.item
            print('|'.join([kind, str(self.depth), self.text] + ([x, y] if kind == 'F' else [x, y])))
            self.item = None
    def handle_data(self, data): self.text += data
sys.stdout.reconfigure(encoding='utf-8', newline='\n')
Reader().feed(open(sys.argv[1], encoding='utf-8').read())
)py";

} // namespace

class TestBookmarksFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsBack_data();
    void readsBack();
    void textIsUtf8WithFiveEscapesOnly();
    void outputKindWritesBookmarks();
    void pythonParserSeesTheSame_data() { readsBack_data(); }
    void pythonParserSeesTheSame();
    void chromiumSeesTheLinks();
};

void TestBookmarksFile::readsBack_data()
{
    QTest::addColumn<LinkTable>("table");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("folders nest, own links before sub-folders")
        << tableOf({rec(true, {}, "Top", "http://top/", 100),
                    rec(true, "News", "BBC", "http://bbc/", 200),
                    rec(true, "Reference", "Wiki", "http://wiki/", 300),
                    rec(true, "Tools", "CMake", "http://cmake/", 400),
                    rec(true, "Reference/Languages", "Rust", "http://rust/", 50),
                    rec(true, {}, "Python", "http://python/", 500)})
        << QStringList{"L|1|Top|http://top/|100",   "F|1|News|200|200",
                       "L|2|BBC|http://bbc/|200",   "F|1|Reference|50|500",
                       "L|2|Wiki|http://wiki/|300", "F|2|Languages|50|500",
                       "L|3|Rust|http://rust/|50",  "L|3|Python|http://python/|500",
                       "F|1|Tools|400|400",         "L|2|CMake|http://cmake/|400"};
    QTest::newRow("a folder with no links of its own")
        << tableOf({rec(true, "A/B/C", "Deep", "http://deep/", 7),
                    rec(true, "A/D", "Side", "http://side/", 9)})
        << QStringList{"F|1|A|7|9", "F|2|B|7|7",
                       "F|3|C|7|7", "L|4|Deep|http://deep/|7",
                       "F|2|D|9|9", "L|3|Side|http://side/|9"};
    QTest::newRow("folders with nothing ticked are left out")
        << tableOf({rec(false, {}, "Off", "http://off/"), rec(false, "Empty", "E", "http://e/"),
                    rec(true, "Empty/Full", "F", "http://f/"), rec(false, "Gone", "G", "http://g/"),
                    rec(false, "Gone/Below", "B", "http://b/")})
        << QStringList{"F|1|Empty||", "F|2|Full||", "L|3|F|http://f/|"};
    QTest::newRow("a folder keeps its place when its own links are unticked")
        << tableOf({rec(false, "A", "a", "http://a/"), rec(true, "B", "b", "http://b/"),
                    rec(true, "A/Sub", "s", "http://s/")})
        << QStringList{"F|1|A||", "F|2|Sub||", "L|3|s|http://s/|", "F|1|B||", "L|2|b|http://b/|"};
    QTest::newRow("the folder follows its first ticked link")
        << tableOf({rec(false, "News", "BBC", "http://bbc/", 1),
                    rec(true, {}, "CNN", "http://cnn/", 2)})
        << QStringList{"F|1|News|2|2", "L|2|CNN|http://cnn/|2"};
    QTest::newRow("dates: unknown ones left out, any range kept")
        << tableOf(
               {rec(true, {}, "New", "http://n/"), rec(true, {}, "Far", "http://far/", 9999999999),
                rec(true, "F", "Old", "http://old/", -5), rec(true, "G", "Undated", "http://u/")})
        << QStringList{"L|1|New|http://n/|",
                       "L|1|Far|http://far/|9999999999",
                       "F|1|F|-5|-5",
                       "L|2|Old|http://old/|-5",
                       "F|1|G||",
                       "L|2|Undated|http://u/|"};
    QTest::newRow("escapes and line breaks")
        << tableOf({rec(true, "R&D <\"x\">", "Tom's & <b>\"bold\"</b>", "http://q/?a=1&b='2'\"<>"),
                    rec(true, "R&D <\"x\">", "Two\r\nlines\tand &#233;", "http://\tx/\r\ny")})
        << QStringList{"F|1|R&D <\"x\">||", "L|2|Tom's & <b>\"bold\"</b>|http://q/?a=1&b='2'\"<>|",
                       "L|2|Two  lines and &#233;|http://x/y|"};
    QTest::newRow("nothing ticked")
        << tableOf({rec(false, "A", "a", "http://a/")}) << QStringList{};
    QTest::newRow("no records") << LinkTable() << QStringList{};
}

void TestBookmarksFile::readsBack()
{
    QFETCH(LinkTable, table);
    QFETCH(QStringList, expected);
    QCOMPARE(readStrictly(bookmarksFileBytes(table, u'/')), expected);
}

void TestBookmarksFile::textIsUtf8WithFiveEscapesOnly()
{
    const LinkTable table = tableOf({rec(true, QString::fromUtf8("Caf\xC3\xA9"),
                                         QString::fromUtf8("\xF0\x9F\x98\x80 ok") + QChar(0xD800),
                                         QString::fromUtf8("http://\xC3\xA9.example/"))});
    const QByteArray bytes = bookmarksFileBytes(table, u'/');
    QVERIFY(bytes.contains("<DT><H3>Caf\xC3\xA9</H3>\n"));
    QVERIFY(bytes.contains("<DT><A HREF=\"http://\xC3\xA9.example/\">\xF0\x9F\x98\x80 ok"
                           "\xEF\xBF\xBD</A>\n"));
    QVERIFY(!bytes.contains("&#2"));
    QVERIFY(!bytes.contains('\r'));
}

void TestBookmarksFile::outputKindWritesBookmarks()
{
    const LinkTable table = tableOf({rec(true, {}, "A", "http://a/", 1)});
    QCOMPARE(linkListBytes(table, OutputKind::Bookmarks), bookmarksFileBytes(table, u'/'));
}

void TestBookmarksFile::pythonParserSeesTheSame()
{
    QFETCH(LinkTable, table);
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed: the check with its HTML parser cannot run");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bookmarks.html"));
    const QByteArray bytes = bookmarksFileBytes(table, u'/');
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromUtf8(pythonReader), path});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QStringList seen = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    seen.removeAll(QString());
    QCOMPARE(seen, readStrictly(bytes));
}

void TestBookmarksFile::chromiumSeesTheLinks()
{
    QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("chromium is not installed: the check of the browser's reading cannot run");
    const LinkTable table =
        tableOf({rec(true, {}, "Top & <b>", "http://top.example/?a=1&b=2", 1),
                 rec(true, "News", QString::fromUtf8("Caf\xC3\xA9 \"Le\" 'Monde'"),
                     "http://lemonde.example/", 2),
                 rec(true, "News/Deep", "Deep", "http://deep.example/", 3)});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bookmarks.html"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bookmarksFileBytes(table, u'/'));
    file.close();

    QProcess process;
    process.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
                             QUrl::fromLocalFile(path).toString()});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        QSKIP("chromium did not start here: the check of the browser's reading cannot run");
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    // The DOM as Chromium serialises it: lower-case tags, text with &amp; &lt; &gt; escaped.
    static const QRegularExpression item(R"re(<(h3|a)(?: href="([^"]*)")?[^>]*>([^<]*)</\1>)re");
    QStringList seen;
    for (const auto &m : item.globalMatch(dom)) {
        QString text = m.captured(3);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        seen << m.captured(1) + u'|' + text + u'|' + QString(m.captured(2)).replace("&amp;", "&");
    }
    QCOMPARE(seen,
             (QStringList{"a|Top & <b>|http://top.example/?a=1&b=2", "h3|News|",
                          QString::fromUtf8("a|Caf\xC3\xA9 \"Le\" 'Monde'|http://lemonde.example/"),
                          "h3|Deep|", "a|Deep|http://deep.example/"}));
}

QUILLON_TEST_MAIN(TestBookmarksFile)
#include "tst_bookmarksfile.moc"
