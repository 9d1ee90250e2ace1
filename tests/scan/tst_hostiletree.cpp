// The real disk changing under the walk, and file names that are not UTF-8.

#include "favoritestree.h"
#include "links/linktable.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "shortcuts/shortcutreader.h"
#include "slowfilesystem.h"
#include "testmain.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <QRandomGenerator>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace Qt::Literals::StringLiterals;
using quillon::test::FavoritesTree;
using quillon::test::SlowFileSystem;

namespace {

// A walk that hangs is killed by this alarm, which fails the test.
constexpr unsigned HangLimitSeconds = 120;

// A change to the tree; the second tree stands for what lies outside it.
using Change = std::function<void(const FavoritesTree &, const FavoritesTree &)>;

// The start folder of the host file system, with a change made to the disk right after it is
// listed: what was listed is no longer what is there when the walk opens it.
class ChangingFolder final : public OpenFolder {
public:
    ChangingFolder(std::unique_ptr<OpenFolder> inner, std::function<void()> change)
        : m_inner(std::move(inner))
        , m_change(std::move(change))
    {}
    std::optional<QList<DirEntry>> list() const override
    {
        auto entries = m_inner->list();
        m_change();
        return entries;
    }
    std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
    {
        return m_inner->openFolder(name);
    }
    std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                     QByteArray &buffer) const override
    {
        return m_inner->readFile(entry, maxBytes, buffer);
    }

private:
    std::unique_ptr<OpenFolder> m_inner;
    std::function<void()> m_change;
};

class ChangingFileSystem final : public FileSystem {
public:
    explicit ChangingFileSystem(std::function<void()> change)
        : m_change(std::move(change))
    {}

    QChar separator() const override { return m_host.separator(); }
    bool isFolder(const QString &path) const override { return m_host.isFolder(path); }
    std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const override
    {
        return m_host.readFile(path, maxBytes);
    }
    std::optional<QList<DirEntry>> list(const QString &folder) const override
    {
        return m_host.list(folder);
    }
    std::unique_ptr<OpenFolder> openFolder(const QString &folder) const override
    {
        return std::make_unique<ChangingFolder>(m_host.openFolder(folder), m_change);
    }

private:
    HostFileSystem m_host{1};
    std::function<void()> m_change;
};

QStringList sitesOf(const LinkTable &table)
{
    QStringList out;
    for (const LinkRecord &r : table.records())
        out << r.siteName + u'|' + r.address;
    return out;
}

QByteArray rawPath(const FavoritesTree &tree, const char *name)
{
    return QFile::encodeName(tree.root()) + '/' + name;
}

// The real disk walked one by one, and on threads with every call slowed down as on a share, so
// that the walk does use its threads.
struct Walkers {
    HostFileSystem oneByOne{1};
    HostFileSystem threaded{8};
    SlowFileSystem slow{threaded, 8, std::chrono::microseconds(200)};

    QList<const FileSystem *> list() const { return {&oneByOne, &slow}; }
};

// Every field of every record.
QStringList recordsOf(const LinkTable &table)
{
    QStringList out;
    for (const LinkRecord &r : table.records()) {
        out << QStringList{r.ticked ? u"ticked"_s : u"unticked"_s,
                           r.folderName.isEmpty() ? u"-"_s : r.folderName, r.siteName, r.address,
                           QString::number(r.modifiedAt.value_or(-1))}
                   .join(u'|');
    }
    return out;
}

void writeRaw(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

// Empties a tree whose names QTemporaryDir cannot remove, as they are not UTF-8.
void removeRaw(const FavoritesTree &tree)
{
    const auto remove = [](const char *path, const struct stat *, int, struct FTW *level) {
        return level->level == 0 ? 0 : ::remove(path);
    };
    ::nftw(QFile::encodeName(tree.root()).constData(), remove, 16, FTW_DEPTH | FTW_PHYS);
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
    void folderSwappedForALinkIsNeverWalked();
    void fileNamesRoundTrip_data();
    void fileNamesRoundTrip();
    void oddlyNamedEntriesAreReadAndWalked_data();
    void oddlyNamedEntriesAreReadAndWalked();
    void parallelWalkMatchesOneByOne_data();
    void parallelWalkMatchesOneByOne();
};

void TestHostileTree::entrySwappedAfterListing_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("expected");

    const QString z = u"z|http://z/"_s;
    const QString in = u"in|http://in/"_s;
    QTest::newRow("removed") << Change([](const FavoritesTree &tree, const FavoritesTree &) {
        QVERIFY(QFile::remove(tree.path(QStringLiteral("swap.url"))));
    }) << QStringList{u"swap|"_s, z, in};
    QTest::newRow("replaced by a FIFO")
        << Change([](const FavoritesTree &tree, const FavoritesTree &) {
               replaceWith(tree, "swap.url", [](const char *p) { return ::mkfifo(p, 0644); });
           })
        << QStringList{u"swap|"_s, z, in};
    QTest::newRow("replaced by a link to an endless device") << Change([](const FavoritesTree &tree,
                                                                          const FavoritesTree &) {
        replaceWith(tree, "swap.url", [](const char *p) { return ::symlink("/dev/zero", p); });
    }) << QStringList{u"swap|"_s, z, in};
    QTest::newRow("replaced by a link to a shortcut outside")
        << Change([](const FavoritesTree &tree, const FavoritesTree &outside) {
               const QByteArray target = QFile::encodeName(outside.path(u"secret.url"_s));
               replaceWith(tree, "swap.url",
                           [&](const char *p) { return ::symlink(target.constData(), p); });
           })
        << QStringList{u"swap|"_s, z, in};
    QTest::newRow("replaced by a folder")
        << Change([](const FavoritesTree &tree, const FavoritesTree &) {
               replaceWith(tree, "swap.url", [](const char *p) { return ::mkdir(p, 0755); });
           })
        << QStringList{u"swap|"_s, z, in};
    QTest::newRow("grown past the read limit")
        << Change([](const FavoritesTree &tree, const FavoritesTree &) {
               tree.addFile(QStringLiteral("swap.url"), "URL=" + QByteArray(3 << 20, 'g'));
           })
        << QStringList{u"swap|"_s + QString((1 << 20) - 4, u'g'), z, in};
    // The folder is left out: it is no longer a folder, and a link is never followed.
    QTest::newRow("folder replaced by a link to a folder outside")
        << Change([](const FavoritesTree &tree, const FavoritesTree &outside) {
               QVERIFY(QDir(tree.root()).rename(u"Sub"_s, u"Moved"_s));
               QVERIFY(QFile::link(outside.root(), tree.path(u"Sub"_s)));
           })
        << QStringList{u"swap|http://before/"_s, z};
}

void TestHostileTree::entrySwappedAfterListing()
{
    QFETCH(Change, change);
    QFETCH(QStringList, expected);
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("swap.url"), QStringLiteral("http://before/"));
    tree.addShortcut(QStringLiteral("z.url"), QStringLiteral("http://z/"));
    tree.addShortcut(QStringLiteral("Sub/in.url"), QStringLiteral("http://in/"));
    FavoritesTree outside;
    outside.addShortcut(QStringLiteral("secret.url"), QStringLiteral("http://SECRET/"));

    const ChangingFileSystem fs([&] { change(tree, outside); });
    LinkTable table;
    const QString start = tree.root() + u'/';
    walkFavorites(fs, start, start.size(), table);
    QCOMPARE(sitesOf(table), expected);
}

// A folder swapped for a link to a folder outside, back and forth while walks run: no walk ever
// publishes what lies outside.
void TestHostileTree::folderSwappedForALinkIsNeverWalked()
{
    FavoritesTree tree;
    for (int i = 0; i < 8; ++i)
        tree.addShortcut(u"Sub/Deeper/in%1.url"_s.arg(i), u"http://in/"_s);
    tree.addShortcut(u"Sub/top.url"_s, u"http://top/"_s);
    FavoritesTree outside;
    outside.addShortcut(u"Deeper/secret.url"_s, u"http://SECRET/"_s);
    outside.addShortcut(u"secret.url"_s, u"http://SECRET/"_s);

    const QByteArray sub = QFile::encodeName(tree.path(u"Sub"_s));
    const QByteArray aside = QFile::encodeName(tree.path(u".aside"_s));
    const QByteArray target = QFile::encodeName(outside.root());
    std::atomic<bool> done = false;
    std::thread swapper([&] {
        while (!done) {
            if (::rename(sub.constData(), aside.constData()) != 0 ||
                ::symlink(target.constData(), sub.constData()) != 0)
                break;
            std::this_thread::yield();
            if (::unlink(sub.constData()) != 0 || ::rename(aside.constData(), sub.constData()) != 0)
                break;
            // The real folder stays a moment, so that walks meet it even on a loaded machine.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    const Walkers walkers;
    int outsideLinks = 0;
    int walksThatSawTheFolder = 0;
    for (int run = 0; run < 300; ++run) {
        for (const FileSystem *fs : walkers.list()) {
            LinkTable table;
            const QString start = tree.root() + u'/';
            walkFavorites(*fs, start, start.size(), table);
            const QStringList sites = sitesOf(table);
            outsideLinks += int(sites.filter(u"SECRET"_s).size());
            walksThatSawTheFolder += sites.contains(u"top|http://top/"_s) ? 1 : 0;
        }
    }
    done = true;
    swapper.join();
    QCOMPARE(outsideLinks, 0);
    QVERIFY(walksThatSawTheFolder > 0); // the walks did meet the real folder
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

void TestHostileTree::oddlyNamedEntriesAreReadAndWalked_data()
{
    QTest::addColumn<QByteArray>("prefix"); // starts every name, as bytes
    QTest::addColumn<QString>("shown");     // the same, as the rows show it

    // A name that is not UTF-8 is shown as Windows-1252, whole, as file contents are.
    QTest::newRow("Windows-1252") << QByteArray("Caf\xe9 \x80") << u"Caf\u00e9 \u20ac"_s;
    QTest::newRow("UTF-8 with a stray byte")
        << QByteArray("\xc3\xa9\xff") << u"\u00c3\u00a9\u00ff"_s;
    QTest::newRow("leading byte-order mark") << QByteArray("\xef\xbb\xbf") << u"\uFEFF"_s;
}

// Odd names still open: the shortcut's address is read, the folder walked, the names shown.
void TestHostileTree::oddlyNamedEntriesAreReadAndWalked()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QString, shown);
    FavoritesTree tree;
    const QByteArray folder = rawPath(tree, prefix + "dir");
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    const QByteArray content = FavoritesTree::shortcutBytes(QStringLiteral("http://odd/"));
    writeRaw(folder + '/' + prefix + "in.url", content);
    writeRaw(rawPath(tree, prefix + "top.url"), content);

    const Walkers walkers;
    for (const FileSystem *fs : walkers.list()) {
        LinkTable table;
        const QString start = tree.root() + u'/';
        walkFavorites(*fs, start, start.size(), table);
        QCOMPARE(sitesOf(table),
                 QStringList({shown + u"top|http://odd/"_s, shown + u"in|http://odd/"_s}));
        QCOMPARE(table.record(1).folderName, shown + u"dir"_s);
    }
    removeRaw(tree);
}

// The walk on many threads gives exactly the records of the walk one by one, on random trees
// with every hostile kind of entry.
void TestHostileTree::parallelWalkMatchesOneByOne_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {11u, 12u, 13u})
        QTest::addRow("tree %u", seed) << seed;
}

void TestHostileTree::parallelWalkMatchesOneByOne()
{
    QFETCH(quint32, seed);
    FavoritesTree tree;
    FavoritesTree outside;
    outside.addShortcut(u"secret.url"_s, u"http://SECRET/"_s);
    QRandomGenerator random(seed);
    const QList<QByteArray> prefixes = {"",     "", "", "\xef\xbb\xbf", "\xff", "caf\xc3\xa9 ",
                                        "x\x80"};
    QList<QByteArray> folders{QFile::encodeName(tree.root())};
    for (int i = 0; i < 40; ++i) {
        const QByteArray folder = folders[random.bounded(int(folders.size()))] + '/' +
                                  prefixes[random.bounded(int(prefixes.size()))] + "D" +
                                  QByteArray::number(i);
        QCOMPARE(::mkdir(folder.constData(), 0755), 0);
        folders << folder;
    }
    const QByteArray secret = QFile::encodeName(outside.path(u"secret.url"_s));
    for (int i = 0; i < 400; ++i) {
        const QByteArray path = folders[random.bounded(int(folders.size()))] + '/' +
                                prefixes[random.bounded(int(prefixes.size()))] + "s" +
                                QByteArray::number(random.bounded(50)) + "_" +
                                QByteArray::number(i) + ".url";
        switch (random.bounded(20)) {
        case 0:
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
            break;
        case 1:
            QCOMPARE(::symlink(secret.constData(), path.constData()), 0);
            break;
        case 2:
            QCOMPARE(::symlink(QFile::encodeName(outside.root()).constData(), path.constData()), 0);
            break;
        case 3:
            QCOMPARE(::symlink("/nowhere", path.constData()), 0);
            break;
        case 4:
            writeRaw(path, "URL=javascript:alert(1)\n");
            break;
        default:
            writeRaw(path, FavoritesTree::shortcutBytes(u"http://x/%1"_s.arg(i)));
        }
    }

    const QString start = tree.root() + u'/';
    LinkTable oneByOne;
    walkFavorites(HostFileSystem(1), start, start.size(), oneByOne);
    QVERIFY(oneByOne.recordCount() > 300);
    // Slowed down, reads spread over every thread; as they are, over the processors.
    const Walkers walkers;
    const QList<const FileSystem *> parallelWalkers{&walkers.slow, &walkers.threaded};
    for (int run = 0; run < 3; ++run) {
        for (const FileSystem *fs : parallelWalkers) {
            LinkTable parallel;
            walkFavorites(*fs, start, start.size(), parallel);
            QCOMPARE(recordsOf(parallel), recordsOf(oneByOne));
        }
    }
    removeRaw(tree);
}

QUILLON_TEST_MAIN(TestHostileTree)
#include "tst_hostiletree.moc"
