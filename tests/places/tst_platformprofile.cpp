#include "favoritestree.h"
#include "places/platformprofile.h"
#include "testmain.h"

#include <QFile>
#include <QFileInfo>

using namespace quillon;
using quillon::test::FavoritesTree;

class TestPlatformProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusals_data();
    void refusals();
};

void TestPlatformProfile::refusals_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("refused");

    QTest::newRow("root") << "/" << true;
    QTest::newRow("home") << "/home" << true;
    QTest::newRow("home by another text") << "/home/" << true;
    QTest::newRow("link to root") << "@/to-root" << true;
    QTest::newRow("link to home") << "@/to-home" << true;
    QTest::newRow("windows root") << "@/c" << true;
    QTest::newRow("windows profiles") << "@/c/Users" << true;
    QTest::newRow("old windows profiles") << "@/c/Documents and Settings" << true;
    QTest::newRow("one windows profile") << "@/c/Users/me" << false;
    QTest::newRow("wine drive") << "@/w/drive_c" << true;
    QTest::newRow("wine profiles") << "@/w/drive_c/users" << true;
    QTest::newRow("wine prefix") << "@/w" << true;
    QTest::newRow("wine's link to its drive") << "@/w/dosdevices/c:" << true;
    QTest::newRow("one wine profile") << "@/w/drive_c/users/me" << false;
    QTest::newRow("an ordinary folder") << "@" << false;
    QTest::newRow("profiles on a network mount") << "@/x/Users" << false;
}

void TestPlatformProfile::refusals()
{
    QFETCH(QString, folder);
    QFETCH(bool, refused);

    if (folder.contains(QStringLiteral("to-home")) && !QFileInfo(QStringLiteral("/home")).isDir())
        QSKIP("This machine has no /home");
    FavoritesTree tree;
    tree.addFolder(QStringLiteral("c/Users/me"));
    tree.addFolder(QStringLiteral("c/Documents and Settings"));
    tree.addFolder(QStringLiteral("w/drive_c/users/me"));
    tree.addFolder(QStringLiteral("w/dosdevices"));
    tree.addFolder(QStringLiteral("x/Users"));
    QVERIFY(QFile::link(QStringLiteral("/"), tree.path("to-root")));
    QVERIFY(QFile::link(QStringLiteral("/home"), tree.path("to-home")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), tree.path("w/dosdevices/c:")));

    // Mounted over: only the top mount counts.
    const PlatformProfile profile = PlatformProfile::unix(
        {{QStringLiteral("server:/c"), tree.path("c"), QStringLiteral("nfs")},
         {QStringLiteral("C:\\"), tree.path("c"), QStringLiteral("9p")},
         {QStringLiteral("/dev/sdb1"), tree.path("c/Users/me"), QStringLiteral("ext4")},
         {QStringLiteral("server:/x"), tree.path("x"), QStringLiteral("nfs")}});
    folder.replace(u'@', tree.root());
    QCOMPARE(profile.isTooBroad(folder), refused);
}

QUILLON_TEST_MAIN(TestPlatformProfile)
#include "tst_platformprofile.moc"
