#include "fakewebserver.h"
#include "testmain.h"

#include "check/archivelookup.h"
#include "check/linkchecker.h"

#include <QSignalSpy>

using namespace quillon;
using quillon::test::FakeAnswer;
using quillon::test::FakeWebServer;
using Kind = FakeAnswer::Kind;
using Script = QList<std::pair<QString, QList<FakeAnswer>>>;

Q_DECLARE_METATYPE(Script)

namespace {

FakeAnswer redirect(int code, const QByteArray &to)
{
    return {code, {{"Location", to}}};
}

LinkCheckSettings settingsFor(const FakeWebServer &server)
{
    LinkCheckSettings settings;
    settings.proxies = {server.proxyAddress(), QString(), QString()};
    settings.timeoutMs = 300;
    settings.retryDelayMs = 20;
    return settings;
}

// Checks the addresses and gives each row's result, or nothing for rows not reported.
QList<std::optional<LinkCheckResult>> check(const LinkCheckSettings &settings,
                                            const QStringList &addresses)
{
    LinkChecker checker(settings);
    QList<std::optional<LinkCheckResult>> results(addresses.size());
    QObject::connect(&checker, &LinkChecker::resultReady,
                     [&results](int row, const LinkCheckResult &r) { results[row] = r; });
    QSignalSpy finished(&checker, &LinkChecker::finished);
    checker.start(addresses);
    if (!finished.wait(20000))
        qWarning("the check did not finish");
    return results;
}

} // namespace

class TestLinkChecker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QUILLON_REQUIRE_LOOPBACK_ONLY(); }
    void judgesWhatTheServerSays_data();
    void judgesWhatTheServerSays();
    void asksEachAddressOnceAndSkipsTheRest();
    void keepsToFourAtOnceOnAHost();
    void stopKeepsWhatWasFound();
    void findsArchivedCopies_data();
    void findsArchivedCopies();
};

void TestLinkChecker::judgesWhatTheServerSays_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("requests"); // of a.example/page
    const QString page = QStringLiteral("a.example/page");
    const FakeAnswer ok{200};
    auto row = [](const char *name) -> QTestData & {
        return QTest::newRow(name);
    };
    row("200") << Script{{page, {ok}}} << "ok" << 1;
    row("404, not retried") << Script{{page, {{404}}}} << "dead" << 1;
    row("403") << Script{{page, {{403}}}} << "blocked" << 1;
    row("moved") << Script{{page, {redirect(301, "http://www.a.example/new")}},
                           {"www.a.example/new", {ok}}}
                 << "moved" << 1;
    row("temporary within the site")
        << Script{{page, {redirect(302, "/new")}}, {"a.example/new", {ok}}} << "ok" << 1;
    row("elsewhere") << Script{{page, {redirect(301, "http://b.example/page")}},
                               {"b.example/page", {ok}}}
                     << "elsewhere" << 1;
    row("front page instead") << Script{{page, {redirect(302, "http://a.example/")}},
                                        {"a.example/", {ok}}}
                              << "dead" << 1;
    row("429 then 200") << Script{{page, {{429, {{"Retry-After", "0"}}}, ok}}} << "ok" << 2;
    row("429 twice") << Script{{page, {{429}}}} << "blocked" << 2;
    row("503 then 404") << Script{{page, {{503}, {404}}}} << "dead" << 2;
    row("500 twice") << Script{{page, {{500}}}} << "unsure" << 2;
    row("reset then 200") << Script{{page, {{0, {}, 0, Kind::Reset}, ok}}} << "ok" << 2;
    row("silent") << Script{{page, {{200, {}, 0, Kind::Silent}}}} << "unsure" << 2;
    row("endless body") << Script{{page, {{200, {}, 0, Kind::EndlessBody}}}} << "ok" << 1;
    row("redirect to file:") << Script{{page, {redirect(302, "file:///etc/passwd")}}} << "unsure"
                             << 1;
    row("redirect loop") << Script{{page, {redirect(302, "/p2")}},
                                   {"a.example/p2", {redirect(302, "/page")}}}
                         << "unsure" << 1;
}

void TestLinkChecker::judgesWhatTheServerSays()
{
    QFETCH(Script, script);
    QFETCH(QString, status);
    QFETCH(int, requests);
    FakeWebServer server;
    for (const auto &[hostAndPath, answers] : script)
        server.script(hostAndPath, answers);
    const auto results = check(settingsFor(server), {QStringLiteral("http://a.example/page")});
    QVERIFY(results.first());
    QCOMPARE(linkStatusWord(results.first()->status), status);
    QCOMPARE(server.requestCount(QStringLiteral("a.example/page")), requests);
}

void TestLinkChecker::asksEachAddressOnceAndSkipsTheRest()
{
    FakeWebServer server;
    server.script(QStringLiteral("a.example/page"), {{404}});
    const auto results = check(settingsFor(server),
                               {QStringLiteral("http://a.example/page"), QStringLiteral("mailto:x"),
                                QStringLiteral("http://a.example/page"), QString()});
    QCOMPARE(server.totalRequests(), 1);
    QCOMPARE(server.lastUserAgent(), QByteArray("Quillon/" QUILLON_VERSION));
    QStringList words;
    for (const auto &result : results)
        words << (result ? linkStatusWord(result->status) : QStringLiteral("-"));
    QCOMPARE(words, QStringList({"dead", "skipped", "dead", "skipped"}));
    QCOMPARE(results.first()->httpCode, 404);
}

void TestLinkChecker::keepsToFourAtOnceOnAHost()
{
    FakeWebServer server([](const QString &, const QString &, int) {
        return FakeAnswer{200, {}, 150};
    });
    LinkCheckSettings settings = settingsFor(server);
    settings.timeoutMs = 10000;
    settings.perHostGapMs = 0; // only the in-flight limit
    QStringList addresses;
    for (int i = 0; i < 12; ++i)
        addresses << QStringLiteral("http://a.example/%1").arg(i);
    check(settings, addresses);
    QCOMPARE(server.totalRequests(), 12);
    QCOMPARE(server.mostAtOnce(QStringLiteral("a.example")), 4);
}

void TestLinkChecker::stopKeepsWhatWasFound()
{
    FakeWebServer server;
    server.script(QStringLiteral("a.example/"), {{200}});
    server.script(QStringLiteral("b.example/"), {{200, {}, 0, Kind::Silent}});
    LinkCheckSettings settings = settingsFor(server);
    settings.timeoutMs = 60000;
    LinkChecker checker(settings);
    QSignalSpy results(&checker, &LinkChecker::resultReady);
    QSignalSpy finished(&checker, &LinkChecker::finished);
    checker.start({QStringLiteral("http://b.example/"), QStringLiteral("http://a.example/")});
    QVERIFY(results.wait());
    QTRY_COMPARE(server.requestCount(QStringLiteral("b.example/")), 1);
    checker.stop();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().first().toInt(), 1);
    QVERIFY(!checker.isRunning());
}

void TestLinkChecker::findsArchivedCopies_data()
{
    QTest::addColumn<QList<FakeAnswer>>("answers");
    QTest::addColumn<QString>("snapshot");
    QTest::addColumn<int>("queries");
    const QByteArray copy = R"j({"archived_snapshots":{"closest":{"available":true,)j"
                            R"j("url":"http://web.archive.example/web/2013/http://a.example/"}}})j";
    QTest::newRow("copy") << QList<FakeAnswer>{{200, {}, 0, Kind::Whole, copy}}
                          << "http://web.archive.example/web/2013/http://a.example/" << 1;
    QTest::newRow("no copy")
        << QList<FakeAnswer>{{200, {}, 0, Kind::Whole, R"j({"archived_snapshots":{}})j"}} << ""
        << 1;
    QTest::newRow("429 pauses, then a copy")
        << QList<FakeAnswer>{{429, {{"Retry-After", "0"}}}, {200, {}, 0, Kind::Whole, copy}}
        << "http://web.archive.example/web/2013/http://a.example/" << 2;
}

void TestLinkChecker::findsArchivedCopies()
{
    QFETCH(QList<FakeAnswer>, answers);
    QFETCH(QString, snapshot);
    QFETCH(int, queries);
    FakeWebServer server;
    server.script(QStringLiteral("127.0.0.1/wayback/available"), answers);
    LinkCheckSettings settings = settingsFor(server);
    settings.proxies = {};
    settings.archiveService = QUrl(server.proxyAddress() + QStringLiteral("/wayback/available"));
    ArchiveLookup lookup(settings);
    QList<ArchiveAnswer> got(3);
    connect(&lookup, &ArchiveLookup::answered,
            [&got](int row, const ArchiveAnswer &answer) { got[row] = answer; });
    QSignalSpy finished(&lookup, &ArchiveLookup::finished);
    const QString dead = QStringLiteral("http://a.example/gone");
    lookup.start({{0, dead, 1371234567}, {2, dead, 1371234567}});
    QVERIFY(finished.wait());
    QCOMPARE(server.totalRequests(), queries);
    QCOMPARE(got[0].snapshotAddress, snapshot);
    QCOMPARE(got[2].snapshotAddress, snapshot);
    QCOMPARE(got[0].reason.isEmpty(), !snapshot.isEmpty());
}

QUILLON_TEST_MAIN(TestLinkChecker)
#include "tst_linkchecker.moc"
