#include "favoritestree.h"
#include "places/drivesearch.h"
#include "testmain.h"

#include <QFile>

using namespace quillon;
using quillon::test::FavoritesTree;

namespace {

// A stand-in for the helper. The first run hangs looking at /slow, deaf to SIGTERM as a
// process stuck on a hung mount is; a run told to skip /slow finds one drive.
const QByteArray HangingHelper = "#!/bin/sh\n"
                                 "case \"$*\" in *'--skip %2Fslow'*)\n"
                                 "  printf 'look\\t%%2Fok\\ndrive\\t%%2Fok\\tOK\\t1\\ndone\\n'\n"
                                 "  exit 0;;\n"
                                 "esac\n"
                                 "trap '' TERM\n"
                                 "printf 'look\\t%%2Fslow\\n'\n"
                                 "exec sleep 600\n";

} // namespace

class TestDriveSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeThatHangsIsLeftOut_data();
    void placeThatHangsIsLeftOut();
};

void TestDriveSearch::placeThatHangsIsLeftOut_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("drives");
    QTest::addColumn<QStringList>("unanswered");
    QTest::addColumn<bool>("failed");

    QTest::newRow("answers") << QByteArray(
                                    "#!/bin/sh\nprintf 'drive\\t%%2F\\t%%2F\\t0\\ndone\\n'\n")
                             << "/\t/\n"
                             << QStringList() << false;
    QTest::newRow("one place hangs") << HangingHelper << "/ok\tOK\n"
                                     << QStringList{"/slow"} << false;
    QTest::newRow("silent from the start") << QByteArray("#!/bin/sh\nexec sleep 600\n") << "/\t/\n"
                                           << QStringList() << true;
    QTest::newRow("ends without the list")
        << QByteArray("#!/bin/sh\nprintf 'look\\t%%2Fa\\n'\n") << "/\t/\n"
        << QStringList() << true;
    QTest::newRow("cannot start") << QByteArray() << "/\t/\n" << QStringList() << true;
}

void TestDriveSearch::placeThatHangsIsLeftOut()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, drives);
    QFETCH(QStringList, unanswered);
    QFETCH(bool, failed);
    FavoritesTree dir;
    const QString helper = dir.path(QStringLiteral("helper"));
    if (!script.isEmpty()) {
        dir.addFile(QStringLiteral("helper"), script);
        QVERIFY(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
    }
    const DriveSearchResult found = findDrivesWithTimeLimit(helper, std::chrono::milliseconds(300));
    QCOMPARE(formatDriveList(found.drives), drives);
    QCOMPARE(found.unanswered, unanswered);
    QCOMPARE(!found.error.isEmpty(), failed);
}

QUILLON_TEST_MAIN(TestDriveSearch)
#include "tst_drivesearch.moc"
