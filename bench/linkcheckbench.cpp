// The link check against a local server that stands in for many hosts through the proxy
// setting; run it inside a network namespace with only loopback (bench/linkcheck does).
// Prints each case's time against its ideal schedule; see README.md.

#include "check/linkchecker.h"
#include "fakewebserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>

#include <cstdio>

using namespace quillon;
using quillon::test::FakeAnswer;
using quillon::test::FakeWebServer;

namespace {

// The process's peak resident memory so far, in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The server on a thread of its own, so that its timers do not wait for the checker.
class ServerThread {
public:
    explicit ServerThread(int delayMs)
    {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            &m_context,
            [this, delayMs] {
                m_server = new FakeWebServer([delayMs](const QString &host, const QString &, int) {
                    return host.startsWith(QLatin1String("silent"))
                               ? FakeAnswer(200, {}, 0, FakeAnswer::Kind::Silent)
                               : FakeAnswer(200, {}, delayMs);
                });
            },
            Qt::BlockingQueuedConnection);
    }
    ~ServerThread()
    {
        QMetaObject::invokeMethod(
            &m_context, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    template <typename F> auto ask(F f)
    {
        decltype(f(*m_server)) result{};
        QMetaObject::invokeMethod(
            &m_context, [&] { result = f(*m_server); }, Qt::BlockingQueuedConnection);
        return result;
    }
    QString proxy()
    {
        return ask([](FakeWebServer &s) { return s.proxyAddress(); });
    }

private:
    QThread m_thread;
    QObject m_context;
    FakeWebServer *m_server = nullptr;
};

struct CheckRun {
    double seconds = 0;
    double lastGoodSeconds = 0; // when the last address not on a silent host was decided
};

CheckRun runCheck(const QString &proxy, const QStringList &addresses, int timeoutMs)
{
    LinkCheckSettings settings;
    settings.proxies = {proxy, QString(), QString()};
    settings.timeoutMs = timeoutMs;
    LinkChecker checker(settings);
    QEventLoop loop;
    QElapsedTimer clock;
    CheckRun run;
    QObject::connect(&checker, &LinkChecker::resultReady, [&](int row, const LinkCheckResult &) {
        if (!addresses.at(row).contains(QLatin1String("silent")))
            run.lastGoodSeconds = double(clock.elapsed()) / 1000;
    });
    QObject::connect(&checker, &LinkChecker::finished, &loop, &QEventLoop::quit);
    clock.start();
    checker.start(addresses);
    loop.exec();
    run.seconds = double(clock.elapsed()) / 1000;
    return run;
}

QStringList addressesOn(const QString &hostPattern, int hosts, int links)
{
    QStringList addresses;
    for (int i = 0; i < links; ++i)
        addresses << QStringLiteral("http://%1/page%2")
                         .arg(hosts > 1 ? hostPattern.arg(i % hosts) : hostPattern)
                         .arg(i);
    return addresses;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    {
        ServerThread server(200);
        const CheckRun run =
            runCheck(server.proxy(), addressesOn(QStringLiteral("h%1.example"), 400, 2000), 15000);
        const double ideal = 2000 * 0.2 / 64;
        std::printf("2000 links on 400 hosts, 200 ms each: %.2f s, ideal %.2f s, %.2fx\n",
                    run.seconds, ideal, run.seconds / ideal);
    }
    {
        ServerThread server(450);
        const CheckRun run =
            runCheck(server.proxy(), addressesOn(QStringLiteral("one.example"), 1, 500), 15000);
        const int most = server.ask([](FakeWebServer &s) { return s.mostAtOnce("one.example"); });
        const qint64 gap =
            server.ask([](FakeWebServer &s) { return s.shortestGapMs("one.example"); });
        std::printf("500 links on one host, 450 ms each: %.2f s (ideal at 4 at once %.2f s); "
                    "at most %d at once, starts at least %lld ms apart at the server\n",
                    run.seconds, 500 / 4 * 0.45, most, static_cast<long long>(gap));
    }
    {
        ServerThread server(200);
        QStringList addresses = addressesOn(QStringLiteral("silent%1.example"), 1000, 1000);
        const QStringList good = addressesOn(QStringLiteral("good%1.example"), 200, 1000);
        for (int i = 0; i < good.size(); ++i)
            addresses.insert(2 * i + 1, good.at(i));
        const CheckRun run = runCheck(server.proxy(), addresses, 2000);
        // The ideal counts the retry delay as a round; a waiting retry holds no slot,
        // so the tighter ideal is every request's time spread over the 64 slots.
        const double ideal = 1000.0 / 64 * (2 + 1 + 2);
        const double slotIdeal = (1000 * 2 * 2 + 1000 * 0.2) / 64;
        std::printf("1000 silent hosts (2 s time-out) and 1000 good links mixed: %.1f s, ideal "
                    "%.1f s (%.2fx), slot ideal %.1f s (%.2fx); last good link after %.1f s\n",
                    run.seconds, ideal, run.seconds / ideal, slotIdeal, run.seconds / slotIdeal,
                    run.lastGoodSeconds);
    }
    {
        ServerThread server(0);
        const long before = peakKiB();
        const CheckRun run = runCheck(
            server.proxy(), addressesOn(QStringLiteral("m%1.example"), 2000, 20000), 15000);
        std::printf("20000 links on 2000 hosts: %.1f s; peak memory %ld KiB, %ld KiB above the "
                    "%ld KiB before the check (server in the same process)\n",
                    run.seconds, peakKiB(), peakKiB() - before, before);
    }
    return 0;
}
