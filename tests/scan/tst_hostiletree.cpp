// The real disk changing under the walk, and file names that are not UTF-8.

#include "favoritestree.h"
#include "links/linktable.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "scan/shortcutreader.h"
#include "testmain.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace Qt::Literals::StringLiterals;
using quillon::test::FavoritesTree;

namespace {

// A walk that hangs is killed by this alarm, which fails the test.
constexpr unsigned HangLimitSeconds = 120;

using Change = std::function<void(const FavoritesTree &)>;

// The host file system, with a change made to the disk right after each listing: what was
// listed is no longer what is there when the walk opens it.
class ChangingFileSystem final : public FileSystem {
public:
    ChangingFileSystem(const FavoritesTree &tree, Change change)
        : m_tree(tree)
        , m_change(std::move(change))
    {}

    QChar separator() const override { return m_host.separator(); }
    bool isFolder(const QString &path) const override { return m_host.isFolder(path); }
    std::optional<QByteArray> readHead(const QString &path, qint64 maxBytes) const override
    {
        return m_host.readHead(path, maxBytes);
    }
    std::optional<QList<DirEntry>> list(const QString &folder) const override
    {
        return m_host.list(folder);
    }
    // The walk reads through the host's open folder, as it does on the real disk.
    std::unique_ptr<OpenFolder> openFolder(const QString &folder) const override
    {
        auto opened = m_host.openFolder(folder);
        if (m_change)
            std::exchange(m_change, {})(m_tree);
        return opened;
    }

private:
    HostFileSystem m_host;
    const FavoritesTree &m_tree;
    mutable Change m_change;
};

QStringList sitesOf(const LinkTable &table)
{
    QStringList out;
    for (const LinkRecord &r : table.records())
        out << r.SiteName.value_or(QString()) + u'|' + r.URL.value_or(QString());
    return out;
}

QByteArray rawPath(const FavoritesTree &tree, const char *name)
{
    return QFile::encodeName(tree.root()) + '/' + name;
}

void replaceWith(const FavoritesTree &tree, const char *name,
                 const std::function<int(const char *)> &make)
{
    const QByteArray path = rawPath(tree, name);
    QCOMPARE(::unlink(path.constData()), 0);
    QCOMPARE(make(path.constData()), 0);
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestHostileTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ::alarm(HangLimitSeconds); }
    void cleanup() { ::alarm(0); }

    void entrySwappedAfterListing_data();
    void entrySwappedAfterListing();
    void fileNamesRoundTrip_data();
    void fileNamesRoundTrip();
    void oddlyNamedEntriesAreReadAndWalked();
};

void TestHostileTree::entrySwappedAfterListing_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("expected"); // what the swapped shortcut gives

    QTest::newRow("removed") << Change([](const FavoritesTree &tree) {
        QVERIFY(QFile::remove(tree.path(QStringLiteral("swap.url"))));
    }) << "swap|";
    QTest::newRow("replaced by a FIFO") << Change([](const FavoritesTree &tree) {
        replaceWith(tree, "swap.url", [](const char *p) { return ::mkfifo(p, 0644); });
    }) << "swap|";
    QTest::newRow("replaced by a link to an endless device")
        << Change([](const FavoritesTree &tree) {
               replaceWith(tree, "swap.url",
                           [](const char *p) { return ::symlink("/dev/zero", p); });
           })
        << "swap|";
    QTest::newRow("replaced by a folder") << Change([](const FavoritesTree &tree) {
        replaceWith(tree, "swap.url", [](const char *p) { return ::mkdir(p, 0755); });
    }) << "swap|";
    QTest::newRow("grown past the read limit") << Change([](const FavoritesTree &tree) {
        tree.addFile(QStringLiteral("swap.url"), "URL=" + QByteArray(3 << 20, 'g'));
    }) << "swap|" + QString((1 << 20) - 4, u'g');
}

void TestHostileTree::entrySwappedAfterListing()
{
    QFETCH(Change, change);
    QFETCH(QString, expected);
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("swap.url"), QStringLiteral("http://before/"));
    tree.addShortcut(QStringLiteral("z.url"), QStringLiteral("http://z/"));

    const ChangingFileSystem fs(tree, change);
    LinkTable table;
    const QString start = tree.root() + u'/';
    walkFavorites(fs, start, start.size(), table);
    QCOMPARE(sitesOf(table), QStringList({expected, QStringLiteral("z|http://z/")}));
}

void TestHostileTree::fileNamesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text"); // the name as shown; null where it is not UTF-8

    QTest::newRow("ASCII") << QByteArray("plain name.url") << u"plain name.url"_s;
    QTest::newRow("UTF-8, two to four bytes")
        << QByteArray("caf\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x98\x80")
        << u"caf\u00e9 \u4e2d \U0001F600"_s;
    QTest::newRow("highest code point") << QByteArray("\xf4\x8f\xbf\xbf") << u"\U0010FFFF"_s;
    QTest::newRow("leading byte-order mark")
        << QByteArray("\xef\xbb\xbfout.html") << u"\uFEFFout.html"_s;
    QTest::newRow("byte-order mark only") << QByteArray("\xef\xbb\xbf") << u"\uFEFF"_s;
    QTest::newRow("byte-order mark after a stray byte")
        << QByteArray("\xff\xef\xbb\xbfx") << QString();
    QTest::newRow("stray bytes") << QByteArray("a\xff\xfe\x80z") << QString();
    QTest::newRow("cut short at the end") << QByteArray("end\xe4\xb8") << QString();
    QTest::newRow("cut short before ASCII") << QByteArray("\xc3(x") << QString();
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString();
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << QString();
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80\xed\xb2\x80") << QString();
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QString();
    QTest::newRow("bytes that look escaped once decoded")
        << QByteArray("\xed\xb2\x80\x80") << QString();
}

void TestHostileTree::fileNamesRoundTrip()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    const QString decoded = decodeFileName(name);
    QCOMPARE(encodeFileName(decoded), name);
    if (!text.isNull())
        QCOMPARE(decoded, text);
    else
        QVERIFY(!decoded.contains(QChar::ReplacementCharacter));
    // Named on the command line, it is the same file; Qt's file classes open it only when valid.
    const char *argv[] = {"quillon-export", name.constData()};
    QCOMPARE(decodeArguments(2, argv).last(), decoded);
    QCOMPARE(qtOpensExactly(decoded), !text.isNull());
}

// Names that are not UTF-8 still open: the shortcut's address is read, the folder walked.
void TestHostileTree::oddlyNamedEntriesAreReadAndWalked()
{
    FavoritesTree tree;
    const QByteArray folder = rawPath(tree, "dir\xff");
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    const QByteArray content = FavoritesTree::shortcutBytes(QStringLiteral("http://odd/"));
    for (const QByteArray &path : {folder + "/in\xc3.url", rawPath(tree, "top\x80.url")}) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
        ::close(fd);
    }

    const HostFileSystem fs;
    LinkTable table;
    const QString start = tree.root() + u'/';
    walkFavorites(fs, start, start.size(), table);
    QCOMPARE(sitesOf(table), QStringList({decodeFileName("top\x80") + "|http://odd/",
                                          decodeFileName("in\xc3") + "|http://odd/"}));
    QCOMPARE(table.record(1).FolderName, decodeFileName("dir\xff"));

    // QTemporaryDir cannot remove names that are not UTF-8.
    ::unlink((folder + "/in\xc3.url").constData());
    ::rmdir(folder.constData());
    ::unlink(rawPath(tree, "top\x80.url").constData());
}

QUILLON_TEST_MAIN(TestHostileTree)
#include "tst_hostiletree.moc"
