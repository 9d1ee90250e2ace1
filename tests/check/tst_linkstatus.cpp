#include "testmain.h"

#include "check/archivelookup.h"
#include "check/checkrequest.h"
#include "check/environmentproxy.h"
#include "check/hostgate.h"
#include "check/linkstatus.h"

using namespace quillon;

namespace {

// "301 https://a.example/x" steps: the code that led to each address after the first.
CheckTrace trace(const QStringList &steps, int finalCode,
                 RequestFailure failure = RequestFailure::None)
{
    CheckTrace t;
    for (const QString &step : steps) {
        const QStringList parts = step.split(u' ');
        if (parts.size() == 2)
            t.redirectCodes.append(parts.first().toInt());
        t.chain.append(QUrl(parts.last()));
    }
    t.finalCode = finalCode;
    t.failure = failure;
    return t;
}

} // namespace

class TestLinkStatus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decidesInTheIssuedOrder_data();
    void decidesInTheIssuedOrder();
    void mapsQtErrors_data();
    void mapsQtErrors();
    void retriesOnceAfterTheRightDelay_data();
    void retriesOnceAfterTheRightDelay();
    void readsProxiesAsCurl_data();
    void readsProxiesAsCurl();
    void readsTheArchiveAnswer_data();
    void readsTheArchiveAnswer();
    void asksTheArchiveForAddressAndDate();
    void keepsHostsApartAndTakesTurns();
};

void TestLinkStatus::decidesInTheIssuedOrder_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("someHostAnswered");
    QTest::addColumn<QString>("status");
    const int none = int(RequestFailure::None);
    const int notFound = int(RequestFailure::HostNotFound);
    const QString page = QStringLiteral("http://a.example/page");
    auto row = [](const char *name) -> QTestData & {
        return QTest::newRow(name);
    };
    row("200") << QStringList{page} << 200 << none << true << "ok";
    row("404") << QStringList{page} << 404 << none << true << "dead";
    row("410 after a redirect") << QStringList{page, "301 http://a.example/p2"} << 410 << none
                                << true << "dead";
    row("host not found, others answered") << QStringList{page} << 0 << notFound << true << "dead";
    row("host not found, nobody answered")
        << QStringList{page} << 0 << notFound << false << "unsure";
    row("page falls back to the front page")
        << QStringList{page, "302 https://www.a.example/"} << 200 << none << true << "dead";
    row("front page of a parker") << QStringList{page, "302 http://parker.example"} << 200 << none
                                  << true << "dead";
    row("root with a query is not the front page")
        << QStringList{page, "302 http://a.example/?from=old"} << 200 << none << true << "ok";
    row("front page to front page") << QStringList{"http://a.example/", "301 https://a.example/"}
                                    << 200 << none << true << "moved";
    for (const int code : {401, 403, 429, 451, 999})
        QTest::addRow("%d", code) << QStringList{page} << code << none << true << "blocked";
    row("another host") << QStringList{page, "301 http://b.example/page"} << 200 << none << true
                        << "elsewhere";
    row("www. is the same site") << QStringList{page, "301 https://www.a.example/page"} << 200
                                 << none << true << "moved";
    row("permanent only") << QStringList{page, "308 http://a.example/new",
                                         "301 http://a.example/n2"}
                          << 200 << none << true << "moved";
    row("a temporary step") << QStringList{page, "301 http://a.example/new",
                                           "307 http://a.example/n2"}
                            << 200 << none << true << "ok";
    row("500") << QStringList{page} << 500 << none << true << "unsure";
    row("time-out") << QStringList{page} << 0 << int(RequestFailure::TimedOut) << true << "unsure";
    row("tls") << QStringList{page} << 0 << int(RequestFailure::Tls) << true << "unsure";
    row("bad redirect") << QStringList{page, "302 file:///etc/passwd"} << 302
                        << int(RequestFailure::BadRedirect) << true << "unsure";
    row("redirect to a page of another host that 404s")
        << QStringList{page, "301 http://b.example/x"} << 404 << none << true << "dead";
}

void TestLinkStatus::decidesInTheIssuedOrder()
{
    QFETCH(QStringList, steps);
    QFETCH(int, code);
    QFETCH(int, failure);
    QFETCH(bool, someHostAnswered);
    QFETCH(QString, status);
    const CheckTrace t = trace(steps, code, RequestFailure(failure));
    const LinkCheckResult result = decideLinkStatus(t, someHostAnswered);
    QCOMPARE(linkStatusWord(result.status), status);
    QCOMPARE(result.httpCode, code);
    QCOMPARE(result.finalAddress, steps.size() > 1 ? t.chain.last().toString() : QString());
    QCOMPARE(result.reason.isEmpty(), status == QLatin1String("ok") && steps.size() == 1);
}

void TestLinkStatus::mapsQtErrors_data()
{
    QTest::addColumn<QNetworkReply::NetworkError>("error");
    QTest::addColumn<RequestFailure>("failure");
    QTest::newRow("not found") << QNetworkReply::HostNotFoundError << RequestFailure::HostNotFound;
    QTest::newRow("proxy not found") << QNetworkReply::ProxyNotFoundError << RequestFailure::Other;
    QTest::newRow("refused") << QNetworkReply::ConnectionRefusedError << RequestFailure::Refused;
    QTest::newRow("closed") << QNetworkReply::RemoteHostClosedError << RequestFailure::Reset;
    QTest::newRow("tls") << QNetworkReply::SslHandshakeFailedError << RequestFailure::Tls;
    QTest::newRow("404 carries its code")
        << QNetworkReply::ContentNotFoundError << RequestFailure::None;
}

void TestLinkStatus::mapsQtErrors()
{
    QFETCH(QNetworkReply::NetworkError, error);
    QFETCH(RequestFailure, failure);
    QCOMPARE(failureFromNetworkError(error), failure);
}

void TestLinkStatus::retriesOnceAfterTheRightDelay_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<RequestFailure>("failure");
    QTest::addColumn<QByteArray>("retryAfter");
    QTest::addColumn<int>("delayMs"); // -1: not retried
    QTest::newRow("429 2 s") << 429 << RequestFailure::None << QByteArray("2") << 2000;
    QTest::newRow("503 capped") << 503 << RequestFailure::None << QByteArray("600") << 60000;
    QTest::newRow("429 date") << 429 << RequestFailure::None
                              << QByteArray("Wed, 21 Oct 2015 07:28:00 GMT") << 1000;
    QTest::newRow("429 none") << 429 << RequestFailure::None << QByteArray() << 1000;
    QTest::newRow("502") << 502 << RequestFailure::None << QByteArray("5") << 1000;
    QTest::newRow("time-out") << 0 << RequestFailure::TimedOut << QByteArray() << 1000;
    QTest::newRow("reset") << 0 << RequestFailure::Reset << QByteArray() << 1000;
    QTest::newRow("refused") << 0 << RequestFailure::Refused << QByteArray() << -1;
    QTest::newRow("404") << 404 << RequestFailure::None << QByteArray("1") << -1;
}

void TestLinkStatus::retriesOnceAfterTheRightDelay()
{
    QFETCH(int, code);
    QFETCH(RequestFailure, failure);
    QFETCH(QByteArray, retryAfter);
    QFETCH(int, delayMs);
    QCOMPARE(retryDelayMs(code, failure, retryAfter, LinkCheckSettings()).value_or(-1), delayMs);
}

void TestLinkStatus::readsProxiesAsCurl_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("proxy"); // type host:port, "none", or "unusable"
    const QStringList both{"http_proxy=proxy.lan:3128", "HTTPS_PROXY=http://u:p@sec.lan:8080",
                           "no_proxy=intra.example, .corp.example,[::1]"};
    QTest::newRow("http") << both << "http://a.example/"
                          << "http proxy.lan:3128";
    QTest::newRow("https, upper case") << both << "https://a.example/"
                                       << "http sec.lan:8080";
    QTest::newRow("no_proxy host") << both << "http://intra.example/"
                                   << "none";
    QTest::newRow("no_proxy sub-domain") << both << "http://www.intra.example/"
                                         << "none";
    QTest::newRow("no_proxy dotted") << both << "https://corp.example/"
                                     << "none";
    QTest::newRow("no_proxy is no suffix match") << both << "http://xintra.example/"
                                                 << "http proxy.lan:3128";
    QTest::newRow("no_proxy ipv6") << both << "http://[::1]:8080/"
                                   << "none";
    QTest::newRow("lower case wins")
        << QStringList{"http_proxy=a.lan:1", "HTTP_PROXY=b.lan:2"} << "http://x.example/"
        << "http a.lan:1";
    QTest::newRow("curl's default port") << QStringList{"https_proxy=p.lan"} << "https://x.example/"
                                         << "http p.lan:1080";
    QTest::newRow("socks") << QStringList{"http_proxy=socks5h://s.lan:9050"} << "http://x.example/"
                           << "socks s.lan:9050";
    QTest::newRow("star") << QStringList{"http_proxy=p.lan:1", "NO_PROXY=*"} << "http://x.example/"
                          << "none";
    QTest::newRow("https proxy unusable")
        << QStringList{"http_proxy=https://p.lan"} << "http://x.example/"
        << "unusable";
    QTest::newRow("none set") << QStringList{} << "http://x.example/"
                              << "none";
}

void TestLinkStatus::readsProxiesAsCurl()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, address);
    QFETCH(QString, proxy);
    QProcessEnvironment env;
    for (const QString &pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    const std::optional<QNetworkProxy> found = proxyFor(QUrl(address), ProxyEnvironment::from(env));
    QString shown = QStringLiteral("unusable");
    if (found && found->type() == QNetworkProxy::NoProxy)
        shown = QStringLiteral("none");
    else if (found)
        shown = QStringLiteral("%1 %2:%3")
                    .arg(found->type() == QNetworkProxy::Socks5Proxy ? "socks" : "http",
                         found->hostName())
                    .arg(found->port());
    QCOMPARE(shown, proxy);
}

void TestLinkStatus::readsTheArchiveAnswer_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("snapshot"); // "-": not the service's answer
    QTest::newRow("copy") << QByteArray(R"j({"archived_snapshots":{"closest":{"available":true,
        "url":"http://web.archive.org/web/2013/http://a.example/","timestamp":"2013",
        "status":"200"}}})j")
                          << "http://web.archive.org/web/2013/http://a.example/";
    QTest::newRow("no copy") << QByteArray(R"j({"url":"a.example","archived_snapshots":{}})j")
                             << "";
    QTest::newRow("script address")
        << QByteArray(R"j({"archived_snapshots":{"closest":{"available":true,)j"
                      R"j("url":"javascript:alert(1)"}}})j")
        << "-";
    QTest::newRow("not json") << QByteArray("<html>busy</html>") << "-";
}

void TestLinkStatus::readsTheArchiveAnswer()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, snapshot);
    QCOMPARE(snapshotAddress(json).value_or(QStringLiteral("-")), snapshot);
}

void TestLinkStatus::asksTheArchiveForAddressAndDate()
{
    const QUrl service(QStringLiteral("https://mirror.example/wayback/available"));
    QCOMPARE(
        availabilityQuery(service, QStringLiteral("http://a.example/x?a=1&b=2#top"), 1371234567)
            .toString(QUrl::FullyEncoded),
        QStringLiteral("https://mirror.example/wayback/available?url=http%3A%2F%2Fa.example"
                       "%2Fx%3Fa%3D1%26b%3D2%23top&timestamp=20130614182927"));
}

void TestLinkStatus::keepsHostsApartAndTakesTurns()
{
    HostGate gate({3, 2, 100});
    for (int job = 0; job < 4; ++job)
        gate.enqueue(QStringLiteral("a"), job);
    gate.enqueue(QStringLiteral("b"), 10);
    gate.enqueue(QStringLiteral("c"), 20);
    QCOMPARE(gate.takeNext(0), 0);
    QCOMPARE(gate.takeNext(0), 10); // a waits for its gap, b does not wait for a
    QCOMPARE(gate.takeNext(0), 20);
    QCOMPARE(gate.takeNext(50), std::nullopt); // three in flight in all
    gate.release(QStringLiteral("b"));
    QCOMPARE(gate.takeNext(60), std::nullopt);
    QCOMPARE(gate.nextGapEndsAt(), 100);
    QCOMPARE(gate.takeNext(100), 1);
    gate.release(QStringLiteral("c"));
    QCOMPARE(gate.takeNext(400), std::nullopt); // two in flight for a
    gate.release(QStringLiteral("a"));
    QCOMPARE(gate.takeNext(400), 2);
}

QUILLON_TEST_MAIN(TestLinkStatus)
#include "tst_linkstatus.moc"
