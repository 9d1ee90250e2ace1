#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "scan/shortcutreader.h"
#include "testmain.h"
#include "treegen.h"

#include <QCryptographicHash>
#include <QMap>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(quillon::bench::TreeShape)

using namespace quillon;
using namespace quillon::bench;
using namespace Qt::Literals::StringLiterals;

namespace {

TreeShape shape(int shortcuts, int folders, int depth, quint64 seed)
{
    TreeShape s;
    s.shortcuts = shortcuts;
    s.folders = folders;
    s.depth = depth;
    s.seed = seed;
    return s;
}

// The tree the stored checksums were taken from.
const TreeShape ChecksumTree = shape(300, 15, 3, 2024);

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray planDigest(const TreePlan &plan)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const PlannedFolder &folder : plan.folders)
        hash.addData(folder.path.toUtf8() + '\0');
    for (const PlannedFile &file : plan.files)
        hash.addData(file.path.toUtf8() + '\0' + file.content + '\0');
    return hash.result().toHex();
}

// "folder/site" -> address for every shortcut, as the walk found them. Only the first record
// of a folder names it; the ones after it belong to the same folder.
QMap<QString, QString> foundAddresses(const LinkTable &table)
{
    QMap<QString, QString> found;
    QString folder;
    for (const LinkRecord &r : table.records()) {
        if (r.opensFolderGroup())
            folder = *r.FolderName;
        found.insert(folder + u'/' + r.SiteName.value_or(QString()), r.URL.value_or(QString()));
    }
    return found;
}

QMap<QString, QString> plannedAddresses(const TreePlan &plan)
{
    QMap<QString, QString> planned;
    for (const PlannedFile &file : plan.files) {
        if (file.address.isEmpty())
            continue;
        const QString path = file.path.chopped(4); // less ".url"
        const qsizetype slash = path.lastIndexOf(u'/');
        planned.insert(slash < 0 ? u'/' + path : path, file.address);
    }
    return planned;
}

struct Walked {
    WalkResult result;
    LinkTable table;
};

void walkTree(const QString &root, Walked &walked)
{
    const HostFileSystem fs;
    const QString start = root + fs.separator();
    walked.result = walkFavorites(fs, start, start.size(), walked.table);
}

} // namespace

class TestGeneratedTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void outputMatchesStoredChecksum_data();
    void outputMatchesStoredChecksum();
    void walkFindsEveryPlannedShortcut_data();
    void walkFindsEveryPlannedShortcut();
    void planDependsOnTheShapeOnly();
    void asciiAndDecodedReadingsAgree_data();
    void asciiAndDecodedReadingsAgree();
    void listingOrderIsThatOfUpperCasedNames_data();
    void listingOrderIsThatOfUpperCasedNames();

private:
    QTemporaryDir m_checksumDir;
    Walked m_checksumWalk;
};

void TestGeneratedTree::initTestCase()
{
    QVERIFY(m_checksumDir.isValid());
    QString error;
    QVERIFY2(writeTree(m_checksumDir.path(), planTree(ChecksumTree), &error), qPrintable(error));
    walkTree(m_checksumDir.path(), m_checksumWalk);
    QCOMPARE(m_checksumWalk.table.recordCount(), ChecksumTree.shortcuts);
}

void TestGeneratedTree::outputMatchesStoredChecksum_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QByteArray>("expected");
    // Any change to these bytes, from the walk's order to the writer's escaping, shows here.
    QTest::newRow("html")
        << OutputKind::Html
        << QByteArray("1eefe300a6b3cbcb8073da07d6123f6ab2d4c07535620d7204ca1b778baf8084");
    QTest::newRow("dat") << OutputKind::Dat
                         << QByteArray(
                                "7263d0cff41b701b2e6412fe8ccb2de0fe35aac1ee09641e26959a105af8d481");
}

void TestGeneratedTree::outputMatchesStoredChecksum()
{
    QFETCH(OutputKind, kind);
    QFETCH(QByteArray, expected);
    QCOMPARE(sha256(linkListBytes(m_checksumWalk.table, kind)), expected);
}

void TestGeneratedTree::walkFindsEveryPlannedShortcut_data()
{
    QTest::addColumn<TreeShape>("treeShape");
    QTest::newRow("root only") << shape(40, 0, 3, 1);
    QTest::newRow("one level") << shape(120, 6, 1, 2);
    QTest::newRow("long chains") << shape(80, 12, 12, 3);
    QTest::newRow("more folders than shortcuts") << shape(10, 30, 3, 4);
    QTest::newRow("no shortcuts") << shape(0, 5, 2, 5);
    QTest::newRow("typical") << shape(400, 20, 4, 6);
}

void TestGeneratedTree::walkFindsEveryPlannedShortcut()
{
    QFETCH(TreeShape, treeShape);
    const TreePlan plan = planTree(treeShape);
    QCOMPARE(int(plan.folders.size()), treeShape.folders);
    for (const PlannedFolder &folder : plan.folders)
        QVERIFY2(folder.path.count(u'/') < treeShape.depth, qPrintable(folder.path));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(writeTree(dir.path(), plan, &error), qPrintable(error));
    Walked walked;
    walkTree(dir.path(), walked);

    QCOMPARE(walked.result.progress.foldersListed, treeShape.folders + 1);
    QCOMPARE(walked.result.progress.shortcutsFound, treeShape.shortcuts);
    // Both shortcut styles and both line ends give the address the generator wrote.
    QCOMPARE(foundAddresses(walked.table), plannedAddresses(plan));
}

void TestGeneratedTree::planDependsOnTheShapeOnly()
{
    const TreeShape base = shape(500, 25, 4, 99);
    const QByteArray digest = planDigest(planTree(base));
    QCOMPARE(planDigest(planTree(base)), digest);
    QVERIFY(planDigest(planTree(shape(500, 25, 4, 100))) != digest);
}

void TestGeneratedTree::asciiAndDecodedReadingsAgree_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("address");
    const auto row = [](const char *name, const QByteArray &bytes, const QByteArray &address) {
        QTest::newRow(name) << bytes << QString::fromLatin1(address);
    };
    row("old style, CR LF",
        "[DEFAULT]\r\nBASEURL=http://a/\r\n[InternetShortcut]\r\nURL=http://b/\r\n", "http://a/");
    row("URL line only, LF", "[InternetShortcut]\nURL=http://b/\n", "http://b/");
    row("CR only", "URL=http://b/\rIconIndex=1\r", "http://b/");
    row("any letter case", "baseurl=http://a/\nuRl=http://b/", "http://a/");
    row("key inside a line", "xx BaseUrl=http://a/ tail\n", "http://a/ tail");
    row("BASEURL after URL", "URL=http://u/\nBASEURL=http://a/\n", "http://a/");
    row("blanks before URL", "[InternetShortcut]\n \t URL=http://b/\n", "http://b/");
    row("URL not at a line start", "XURL=http://x/\nURL=http://b/\n", "http://b/");
    row("first of two URL lines", "URL=http://1/\r\nURL=http://2/\r\n", "http://1/");
    row("BASEURL without =", "BASEURL http://a/\nURL=http://b/", "http://b/");
    row("equal signs in the value", "URL=http://b/?a=1&b=2\n", "http://b/?a=1&b=2");
    row("key at the very end", "[DEFAULT]\nBASEURL=", QByteArray());
    row("no key", "[InternetShortcut]\nIDList=\n", QByteArray());
    row("empty", "", QByteArray());
    row("NUL in the value", QByteArray("URL=a\0b\n", 8), QByteArray("a\0b", 3));
}

void TestGeneratedTree::asciiAndDecodedReadingsAgree()
{
    // A byte-order mark sends the same text through the decoding reader; pure ASCII without
    // one is read straight from the bytes.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, address);
    QCOMPARE(shortcutAddress(bytes), address);
    QCOMPARE(shortcutAddress("\xEF\xBB\xBF" + bytes), address);
}

void TestGeneratedTree::listingOrderIsThatOfUpperCasedNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("ASCII") << QStringList{u"beta"_s, u"Alpha"_s, u"_x"_s, u"alpha"_s, u"B"_s,
                                          u"b1"_s,   u"a"_s,     u"A"_s,  u"10"_s,    u"9"_s};
    QTest::newRow("upper case longer than the name")
        << QStringList{u"stra\u00DFe"_s, u"STRASSE"_s, u"strasse"_s, u"Strasse b"_s,
                       u"\u00DF"_s,      u"SS"_s,      u"st"_s,      u"sr"_s};
    QTest::newRow("accents and other scripts") << QStringList{u"\u00E9t\u00E9"_s,
                                                              u"Ete"_s,
                                                              u"f"_s,
                                                              u"\u00C9T\u00C9"_s,
                                                              u"\u03B1\u03B2"_s,
                                                              u"\u0391"_s,
                                                              u"z"_s,
                                                              u"\u01C6"_s,
                                                              u"DZ"_s,
                                                              u"\u65E5\u672C"_s};
    // Bytes that are no UTF-8 come through the listing as lone low surrogates.
    QTest::newRow("stray bytes") << QStringList{QString(QChar(0xDCE9)) + u"t"_s, u"ete"_s,
                                                u"\uFFFD"_s, u"x"_s};
}

void TestGeneratedTree::listingOrderIsThatOfUpperCasedNames()
{
    QFETCH(QStringList, names);
    QList<DirEntry> entries;
    for (const QString &name : names)
        entries.append(DirEntry{name, EntryKind::File});
    sortListing(entries);
    QStringList sorted;
    for (const DirEntry &entry : entries)
        sorted << entry.name;

    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a.toUpper(), b.toUpper(), Qt::CaseSensitive);
        return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    QCOMPARE(sorted, expected);
}

QUILLON_TEST_MAIN(TestGeneratedTree)
#include "tst_generatedtree.moc"
