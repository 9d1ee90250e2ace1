#include "favoritestree.h"
#include "links/linktable.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

using namespace quillon;
using quillon::test::FavoritesTree;

namespace {

QStringList walkSites(const QString &root)
{
    const HostFileSystem fs;
    LinkTable table;
    const QString start = root + u'/';
    walkFavorites(fs, start, start.size(), table);
    QStringList out;
    for (const LinkRecord &r : table.records())
        out << (r.folderName.isEmpty() ? QStringLiteral("-") : r.folderName) + u'|' + r.siteName +
                   u'|' + r.address;
    return out;
}

} // namespace

class TestHostFileSystem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listingIsSortedByUpperCasedName();
    void hiddenEntriesAreLeftOut();
    void linksAreReadButNeverWalked();
    void specialFilesAreNeverOpened();
    void unreadableEntriesKeepTheWalkGoing();
    void hugeFileIsReadOnlyToTheLimit();
    void deepTreeAndOddNames();
};

void TestHostFileSystem::listingIsSortedByUpperCasedName()
{
    FavoritesTree tree;
    for (const char *name :
         {"beta.url", "Alpha.url", "_under.url", "alpha.url", "Zed.url", "b.url"})
        tree.addShortcut(QString::fromLatin1(name), QStringLiteral("http://x/"));
    const auto entries = HostFileSystem().list(tree.root());
    QVERIFY(entries);
    QStringList names;
    for (const DirEntry &e : *entries)
        names << e.name;
    // "_" (0x5F) sorts after the capital letters, since names compare in upper case.
    QCOMPARE(names,
             QStringList({"Alpha.url", "alpha.url", "b.url", "beta.url", "Zed.url", "_under.url"}));
}

void TestHostFileSystem::hiddenEntriesAreLeftOut()
{
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral(".hidden.url"), QStringLiteral("http://h/"));
    tree.addShortcut(QStringLiteral(".HiddenDir/in.url"), QStringLiteral("http://in/"));
    tree.addShortcut(QStringLiteral("shown.url"), QStringLiteral("http://shown/"));
    QCOMPARE(walkSites(tree.root()), QStringList({"-|shown|http://shown/"}));
}

void TestHostFileSystem::linksAreReadButNeverWalked()
{
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("Real/target.url"), QStringLiteral("http://target/"));
    QVERIFY(QFile::link(tree.path(QStringLiteral("Real/target.url")),
                        tree.path(QStringLiteral("alias.url"))));
    QVERIFY(QFile::link(tree.root(), tree.path(QStringLiteral("Real/cycle"))));
    QVERIFY(QFile::link(QStringLiteral("/"), tree.path(QStringLiteral("root.url"))));
    QVERIFY(QFile::link(tree.path(QStringLiteral("missing")),
                        tree.path(QStringLiteral("dangling.url"))));
    // A link is read only where it leads inside the start folder, however it names its target.
    FavoritesTree outside;
    outside.addShortcut(QStringLiteral("secret.url"), QStringLiteral("http://SECRET/"));
    const auto relativeLink = [&](const QString &target, const QString &name) {
        QVERIFY(::symlink(QFile::encodeName(target).constData(),
                          QFile::encodeName(tree.path(name)).constData()) == 0);
        QVERIFY(QFile::exists(tree.path(name)));
    };
    QVERIFY(QFile::link(outside.path(QStringLiteral("secret.url")),
                        tree.path(QStringLiteral("Real/out.url"))));
    relativeLink(QStringLiteral("../../") + QDir(outside.root()).dirName() +
                     QStringLiteral("/secret.url"),
                 QStringLiteral("Real/up.url"));
    relativeLink(QStringLiteral("../../") + QDir(tree.root()).dirName() +
                     QStringLiteral("/Real/target.url"),
                 QStringLiteral("Real/round.url"));

    QCOMPARE(walkSites(tree.root()),
             QStringList({"-|alias|http://target/", "-|dangling|", "Real|out|",
                          "-|round|http://target/", "-|target|http://target/", "-|up|"}));
}

void TestHostFileSystem::specialFilesAreNeverOpened()
{
    FavoritesTree tree;
    QVERIFY(::mkfifo(QFile::encodeName(tree.path(QStringLiteral("pipe.url"))).constData(), 0644) ==
            0);
    tree.addShortcut(QStringLiteral("after.url"), QStringLiteral("http://after/"));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(walkSites(tree.root()), QStringList({"-|after|http://after/", "-|pipe|"}));
    QVERIFY(clock.elapsed() < 5000);
    // Even asked directly, a FIFO is not read.
    QVERIFY(!HostFileSystem().readFile(tree.path(QStringLiteral("pipe.url")), 10));
}

void TestHostFileSystem::unreadableEntriesKeepTheWalkGoing()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not stop the superuser");
    FavoritesTree tree;
    tree.addShortcut(QStringLiteral("locked.url"), QStringLiteral("http://locked/"));
    tree.addShortcut(QStringLiteral("Closed/c.url"), QStringLiteral("http://c/"));
    tree.addShortcut(QStringLiteral("Open/o.url"), QStringLiteral("http://o/"));
    QFile::setPermissions(tree.path(QStringLiteral("locked.url")), {});
    QFile::setPermissions(tree.path(QStringLiteral("Closed")), {});
    const QStringList sites = walkSites(tree.root());
    QFile::setPermissions(tree.path(QStringLiteral("Closed")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(sites, QStringList({"-|locked|", "Open|o|http://o/"}));
}

void TestHostFileSystem::hugeFileIsReadOnlyToTheLimit()
{
    FavoritesTree tree;
    const QByteArray huge = "BASEURL=http://huge/" + QByteArray(50 * 1024 * 1024, 'x');
    tree.addFile(QStringLiteral("huge.url"), huge);
    const auto head = HostFileSystem().readFile(tree.path(QStringLiteral("huge.url")), 1024 * 1024);
    QVERIFY(head);
    QCOMPARE(head->bytes.size(), 1024 * 1024);
    const QStringList sites = walkSites(tree.root());
    QCOMPARE(sites.size(), 1);
    QVERIFY(sites.first().startsWith(QStringLiteral("-|huge|http://huge/xxx")));
}

void TestHostFileSystem::deepTreeAndOddNames()
{
    FavoritesTree tree;
    QString deep;
    for (int i = 0; i < 200; ++i)
        deep += QStringLiteral("d/");
    tree.addShortcut(deep + QStringLiteral("bottom.url"), QStringLiteral("http://bottom/"));
    const QString odd = QStringLiteral("Caf\u00e9 & <b> 'q' \"dq\"\nline \u4e2d\u6587.url");
    tree.addShortcut(odd, QStringLiteral("http://odd/"));
    // A name that is not valid UTF-8 cannot round-trip through text; it must not stop the walk.
    const QByteArray rawPath = QFile::encodeName(tree.root()) + "/bad\xff.url";
    FILE *f = std::fopen(rawPath.constData(), "w");
    QVERIFY(f);
    std::fputs("URL=http://bad/\n", f);
    std::fclose(f);

    const QStringList sites = walkSites(tree.root());
    QCOMPARE(sites.size(), 3);
    QVERIFY(sites.contains(QStringLiteral("-|") + odd.chopped(4) + QStringLiteral("|http://odd/")));
    QCOMPARE(sites.last(), deep.chopped(1) + QStringLiteral("|bottom|http://bottom/"));
}

QUILLON_TEST_MAIN(TestHostFileSystem)
#include "tst_hostfilesystem.moc"
