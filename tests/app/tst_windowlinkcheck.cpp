// The window's link check, against a fake web server on loopback that stands in for every site.

#include "app/jobstrip.h"
#include "app/mainwindow.h"
#include "fakewebserver.h"
#include "favoritestree.h"
#include "grid/linkgrid.h"
#include "memoryfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace quillon;
using quillon::test::FakeAnswer;
using quillon::test::FakeWebServer;
using quillon::test::MemoryFileSystem;
using quillon::test::ScriptedDialogs;

namespace {

const QString Folder = QStringLiteral("C:\\Favorites");

struct Fixture {
    MemoryFileSystem fs;
    ScriptedDialogs dialogs;
    FakeWebServer server;
    QTemporaryDir settings;
    std::unique_ptr<MainWindow> window;

    // One shortcut per address, in this order.
    explicit Fixture(const QStringList &addresses, int timeoutMs = 5000)
    {
        for (qsizetype i = 0; i < addresses.size(); ++i)
            fs.addFile(Folder + QStringLiteral("\\%1.url").arg(i),
                       test::FavoritesTree::shortcutBytes(addresses[i]));
        WindowEnvironment env;
        env.fileSystem = &fs;
        env.profile = PlatformProfile::windows();
        env.drives = {{QStringLiteral("C:"), QStringLiteral("C:")}};
        env.initialFolder = Folder;
        env.settingsFile = settings.filePath(QStringLiteral("Quillon.conf"));
        // Every site, the archive's included, is the server, reached as the proxy.
        env.linkCheck.proxies = {server.proxyAddress(), QString(), QString()};
        env.linkCheck.timeoutMs = timeoutMs;
        env.linkCheck.retryDelayMs = 20;
        env.linkCheck.archiveService = QUrl(QStringLiteral("http://archive.example/available"));
        window = std::make_unique<MainWindow>(dialogs, env);
        window->generate();
        QTRY_VERIFY(!window->isWalking());
    }

    LinkTableModel *model() const
    {
        return window->findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model();
    }
    QWidget *strip() const { return window->findChild<JobStrip *>(QStringLiteral("jobStrip")); }
    void choose(const char *action) const
    {
        QAction *command = window->findChild<QAction *>(QLatin1String(action));
        QVERIFY2(command, action);
        // As the user sees it: the menu is brought up, then the command chosen.
        Q_EMIT window->findChild<QMenu *>(QStringLiteral("gridTickMenu"))->aboutToShow();
        QVERIFY2(command->isEnabled(), action);
        command->trigger();
    }
    // What the status column shows, row by row.
    QStringList statuses() const
    {
        QStringList words;
        for (int row = 0; row < model()->rowCount(); ++row)
            words << model()->index(row, LinkTableModel::StatusColumn).data().toString();
        return words;
    }
    QString address(int row) const
    {
        return model()->index(row, LinkTableModel::UrlColumn).data().toString();
    }
};

} // namespace

class TestWindowLinkCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QUILLON_REQUIRE_LOOPBACK_ONLY(); }
    void checkThenActOnWhatItFound();
    void stopEndsTheCheck_data();
    void stopEndsTheCheck();
};

void TestWindowLinkCheck::checkThenActOnWhatItFound()
{
    Fixture f({QStringLiteral("http://a.example/page"), QStringLiteral("http://b.example/gone"),
               QStringLiteral("http://c.example/old"), QStringLiteral("ftp://d.example/")});
    f.server.script(QStringLiteral("a.example/page"), {{200}});
    f.server.script(QStringLiteral("c.example/old"),
                    {{301, {{"Location", "http://c.example/new"}}}});
    f.server.script(QStringLiteral("c.example/new"), {{200}});
    f.server.script(
        QStringLiteral("archive.example/available"),
        {{200,
          {},
          0,
          FakeAnswer::Kind::Whole,
          R"j({"archived_snapshots":{"closest":{"available":true,)j"
          R"j("url":"http://web.archive.example/web/2013/http://b.example/gone"}}})j"}});
    QCOMPARE(f.model()->columnCount(), 4); // no status column before a check
    QCOMPARE(f.server.totalRequests(), 0); // nor anything sent
    f.model()->toggleTicks({3});           // unticked rows are not checked
    f.model()->toggleTicks({3});

    f.choose("checkLinksAction");
    QVERIFY(f.strip()->isVisibleTo(f.window.get()));
    QTRY_VERIFY(!f.strip()->isVisibleTo(f.window.get()));
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList{QStringLiteral("3 of 3 addresses checked, 1 dead.")});
    QCOMPARE(f.statuses(), (QStringList{"ok", "dead", "moved", "skipped"}));
    const QHeaderView *header =
        f.window->findChild<QTableView *>(QStringLiteral("gridTable"))->horizontalHeader();
    QCOMPARE(header->visualIndex(LinkTableModel::StatusColumn), 1); // beside the ticks
    const QString tip =
        f.model()->index(2, LinkTableModel::StatusColumn).data(Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(QStringLiteral("http://c.example/new")) && tip.contains(u"200"),
             qPrintable(tip));

    f.choose("untickDeadLinksAction");
    QCOMPARE(f.dialogs.takeMessageTexts(), QStringList{QStringLiteral("1 row(s) unticked.")});
    QVERIFY(!f.model()->table()->record(1).ticked);
    QVERIFY(f.model()->table()->record(0).ticked);

    f.choose("useNewAddressesAction");
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList{QStringLiteral("1 row(s) given their new address.")});
    QCOMPARE(f.address(2), QStringLiteral("http://c.example/new"));

    f.choose("archiveDeadLinksAction");
    QTRY_VERIFY(!f.strip()->isVisibleTo(f.window.get()));
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList{QStringLiteral("1 of 1 dead links now lead to archived copies.")});
    QCOMPARE(f.statuses().at(1), QStringLiteral("archived"));
    QCOMPARE(f.address(1),
             QStringLiteral("http://web.archive.example/web/2013/http://b.example/gone"));
    QVERIFY(f.model()
                ->index(1, LinkTableModel::UrlColumn)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("http://b.example/gone")));

    // A new Generate starts without results.
    f.dialogs.questionAnswers = {true}; // the tick changed by Untick Dead Links may go
    f.window->generate();
    QTRY_VERIFY(!f.window->isWalking());
    QCOMPARE(f.model()->columnCount(), 4);
}

void TestWindowLinkCheck::stopEndsTheCheck_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Stop") << false;
    QTest::newRow("Esc") << true;
}

void TestWindowLinkCheck::stopEndsTheCheck()
{
    QFETCH(bool, byKey);
    // The silent site would hold the check for a minute.
    Fixture f({QStringLiteral("http://a.example/page"), QStringLiteral("http://silent.example/")},
              60000);
    f.server.script(QStringLiteral("a.example/page"), {{200}});
    f.server.script(QStringLiteral("silent.example/"), {{200, {}, 0, FakeAnswer::Kind::Silent}});
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

    f.choose("checkLinksAction");
    QTRY_COMPARE(f.statuses().first(), QStringLiteral("ok"));
    // Meanwhile the grid is read and ticked as ever.
    f.model()->toggleTicks({0});
    QVERIFY(!f.model()->table()->record(0).ticked);
    auto *stop = f.window->findChild<QPushButton *>(QStringLiteral("cmdStop"));
    QVERIFY(stop->isVisible());
    if (byKey)
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
    else
        QTest::mouseClick(stop, Qt::LeftButton);
    QTRY_VERIFY(!stop->isVisible());
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList{QStringLiteral(
                 "The check was stopped: 1 of 2 addresses checked, 0 dead. The results so far "
                 "stay.")});
    QCOMPARE(f.statuses(), (QStringList{"ok", QString()}));
}

QUILLON_TEST_MAIN(TestWindowLinkCheck)
#include "tst_windowlinkcheck.moc"
