#include "isolatedchromium.h"
#include "links/linktable.h"
#include "links/listedlink.h"
#include "output/bookmarksfile.h"
#include "output/linklistwriter.h"
#include "output/writtenlist.h"
#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    void chromiumImportsTheFile();
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
    QTest::newRow("sibling folders by upper-cased name, with or without links of their own")
        << tableOf({rec(true, "News", "BBC", "http://bbc/"), rec(true, "beta", "b", "http://b/"),
                    rec(true, "Empty Folder/Nested", "C", "http://c/"),
                    rec(true, "Alpha/Sub", "s", "http://s/")})
        << QStringList{"F|1|Alpha||",         "F|2|Sub||",        "L|3|s|http://s/|",
                       "F|1|beta||",          "L|2|b|http://b/|", "F|1|Empty Folder||",
                       "F|2|Nested||",        "L|3|C|http://c/|", "F|1|News||",
                       "L|2|BBC|http://bbc/|"};
    QTest::newRow("an address ending in a backslash gets a blank before the quote")
        << tableOf({rec(true, {}, "Share", "file://\\\\server\\share\\"),
                    rec(true, {}, "Dir", "https://example.org/dir\\"),
                    rec(true, {}, "Blank", "https://example.org/dir\\ "),
                    rec(true, {}, "Inside", "https://example.org/a\\b"),
                    rec(true, {}, "Trailing blank", "https://example.org/a ")})
        << QStringList{
               "L|1|Share|file://\\\\server\\share\\ |", "L|1|Dir|https://example.org/dir\\ |",
               "L|1|Blank|https://example.org/dir\\  |", "L|1|Inside|https://example.org/a\\b|",
               "L|1|Trailing blank|https://example.org/a |"};
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
    const QByteArray bytes = bookmarksFileBytes(table, u'/');
    QCOMPARE(readStrictly(bytes), expected);

    // The written-list reader ticks exactly the written rows again.
    const auto links = readWrittenList(bytes, nullptr);
    QVERIFY(links);
    QList<int> ticked;
    for (int row = 0; row < table.recordCount(); ++row)
        if (table.record(row).ticked)
            ticked << row;
    QCOMPARE(ticksFromList(table, *links).tickedRows, ticked);
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

void TestBookmarksFile::chromiumImportsTheFile()
{
    const LinkTable table =
        tableOf({rec(true, {}, "Top & <b>", "http://top.example/?a=1&b=2", 1),
                 rec(true, {}, "Share", "file://\\\\server\\share\\", 2),
                 rec(true, {}, "Dir", "https://dir.example/dir\\", 3),
                 rec(true, "News", QString::fromUtf8("Caf\xC3\xA9 \"Le\" 'Monde'"),
                     "http://lemonde.example/", 4),
                 rec(true, "Empty Folder/Nested", "Deep", "http://deep.example/", 5)});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bookmarks.html"));
    const QString preferences = dir.filePath(QStringLiteral("initial_preferences"));
    const QByteArray prefs = R"({"distribution": {"import_bookmarks": false,
        "skip_first_run_ui": true, "import_bookmarks_from_file": ")" +
                             path.toUtf8() + "\"}}";
    for (const auto &[name, bytes] :
         {std::pair{path, bookmarksFileBytes(table, u'/')}, std::pair{preferences, prefs}}) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    // Chromium imports the file of its initial preferences on its first run.
    const QString profile = dir.filePath(QStringLiteral("profile"));
    const test::ChromiumRun run = test::runIsolatedChromium(
        {"--force-first-run", "--dump-dom", "about:blank"}, profile, preferences);
    if (!run.whyNot.isEmpty())
        QSKIP(qPrintable("Chromium's importer cannot run here: " + run.whyNot));
    QFile imported(profile + "/Default/Bookmarks");
    QVERIFY2(imported.open(QIODevice::ReadOnly), "Chromium imported nothing");
    const QJsonObject bar =
        QJsonDocument::fromJson(imported.readAll())["roots"].toObject()["bookmark_bar"].toObject();

    QStringList seen;
    std::vector<std::pair<QJsonArray, qsizetype>> open{{bar["children"].toArray(), 0}};
    while (!open.empty()) {
        auto &[children, next] = open.back();
        if (next == children.size()) {
            open.pop_back();
            continue;
        }
        const QJsonObject node = children[next++].toObject();
        seen << QString::number(open.size()) + u'|' + node["name"].toString() + u'|' +
                    node["url"].toString();
        if (node["type"] == "folder")
            open.emplace_back(node["children"].toArray(), 0);
    }
    QCOMPARE(seen,
             (QStringList{"1|Top & <b>|http://top.example/?a=1&b=2",
                          "1|Share|file:///server/share/", "1|Dir|https://dir.example/dir/",
                          "1|Empty Folder|", "2|Nested|", "3|Deep|http://deep.example/", "1|News|",
                          QString::fromUtf8("2|Caf\xC3\xA9 \"Le\" 'Monde'|"
                                            "http://lemonde.example/")}));
}

QUILLON_TEST_MAIN(TestBookmarksFile)
#include "tst_bookmarksfile.moc"
