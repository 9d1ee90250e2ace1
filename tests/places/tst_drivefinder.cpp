#include "favoritestree.h"
#include "places/drivefinder.h"
#include "testmain.h"

#include <QFile>

using namespace quillon;
using quillon::test::FavoritesTree;

class TestDriveFinder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsVolumesWindowsDrivesAndWinePrefixes();
    void mountTableEscapes();
};

void TestDriveFinder::findsVolumesWindowsDrivesAndWinePrefixes()
{
    FavoritesTree home;
    home.addFolder(QStringLiteral(".wine/drive_c/users/me/Favorites"));
    home.addFolder(QStringLiteral(".local/share/bottles/bottles/Office/drive_c"));
    home.addFolder(QStringLiteral(".local/share/wineprefixes/broken")); // no drive_c
    home.addFolder(QStringLiteral("games/custom/drive_c"));
    home.addFolder(QStringLiteral("mnt/c/Users"));                       // WSL's drvfs
    home.addFolder(QStringLiteral("mnt/win 10/Documents and Settings")); // dual boot
    home.addFolder(QStringLiteral("mnt/data"));
    home.addFolder(QStringLiteral("mnt/share/Users"));
    const QString mnt = home.path(QStringLiteral("mnt"));

    DriveSources sources;
    sources.homeFolder = home.root();
    sources.environment.insert(QStringLiteral("WINEPREFIX"), home.path("games/custom/"));
    const QByteArray table = "proc /proc proc rw 0 0\n"
                             "/dev/sda2 / ext4 rw 0 0\n"
                             "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                             "C:\\134 " +
                             QFile::encodeName(mnt) + "/c 9p rw 0 0\n" + "/dev/sda3 " +
                             QFile::encodeName(mnt) + "/win\\04010 ntfs3 rw 0 0\n" + "/dev/sdb1 " +
                             QFile::encodeName(mnt) + "/data ext4 rw 0 0\n" +
                             // A network mount is never looked into, even with Users at its root.
                             "server:/x " + QFile::encodeName(mnt) + "/share nfs4 rw 0 0\n";
    sources.mounts = parseMountTable(table);

    const QList<Drive> drives = findDrives(sources);
    const QString expected = QStringLiteral("/\t/\n"
                                            "%1/c\tC: (Windows, %1/c)\n"
                                            "%1/data\t%1/data\n"
                                            "%1/win 10\tC: (Windows, %1/win 10)\n"
                                            "%2/games/custom/drive_c\tC: (Wine, ~/games/custom)\n"
                                            "%2/.wine/drive_c\tC: (Wine, ~/.wine)\n"
                                            "%2/.local/share/bottles/bottles/Office/drive_c\t"
                                            "C: (Wine, ~/.local/share/bottles/bottles/Office)\n")
                                 .arg(mnt, home.root());
    QCOMPARE(formatDriveList(drives), expected);

    // $WINEPREFIX naming ~/.wine again lists it once.
    sources.environment.insert(QStringLiteral("WINEPREFIX"), home.path(".wine"));
    QCOMPARE(findDrives(sources).size(), drives.size() - 1);
}

void TestDriveFinder::mountTableEscapes()
{
    const QList<MountEntry> entries =
        parseMountTable("/dev/sdc1 /media/a\\040b\\011c\\134d vfat rw 0 0\nshort line\n");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].mountPoint, QStringLiteral("/media/a b\tc\\d"));
    QCOMPARE(entries[0].type, QStringLiteral("vfat"));
}

QUILLON_TEST_MAIN(TestDriveFinder)
#include "tst_drivefinder.moc"
