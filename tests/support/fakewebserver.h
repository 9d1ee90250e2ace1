#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QTcpServer>

#include <functional>

namespace quillon::test {

// One scripted answer of the fake web server.
struct FakeAnswer {
    enum class Kind { Whole, EndlessBody, Silent, Reset };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    FakeAnswer(int status = 200, Headers headers = {}, int delayMs = 0, Kind kind = Kind::Whole,
               QByteArray body = {})
        : status(status)
        , headers(std::move(headers))
        , delayMs(delayMs)
        , kind(kind)
        , body(std::move(body))
    {}
    int status;
    Headers headers;
    int delayMs;
    Kind kind;
    QByteArray body;
};

// A web server on 127.0.0.1 that stands in for any number of hosts: used as the HTTP proxy,
// it is asked for absolute addresses and answers by their host, so made-up host names are
// never looked up. It counts requests and, per host, how many were in flight at once.
class FakeWebServer : public QObject {
    Q_OBJECT
public:
    // Answers the nth (from 0) request for a host and path.
    using Handler = std::function<FakeAnswer(const QString &host, const QString &path, int nth)>;

    explicit FakeWebServer(Handler handler = {}, QObject *parent = nullptr);
    quint16 port() const { return m_server.serverPort(); }
    QString proxyAddress() const;

    // Answers "host/path" with these answers in turn, the last one again after that; 404 for
    // addresses not scripted.
    void script(const QString &hostAndPath, QList<FakeAnswer> answers);

    int requestCount(const QString &hostAndPath) const { return m_counts.value(hostAndPath); }
    int totalRequests() const { return m_total; }
    int mostAtOnce(const QString &host) const { return m_mostAtOnce.value(host); }
    // The shortest time between two request starts for one host, in ms; -1 with fewer than two.
    qint64 shortestGapMs(const QString &host) const;
    QByteArray lastUserAgent() const { return m_lastUserAgent; }

private:
    void serve(class QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QString &host, const FakeAnswer &answer);

    Handler m_handler;
    QHash<QString, QList<FakeAnswer>> m_scripts;
    QHash<QString, int> m_counts;
    QHash<QString, int> m_atOnce;
    QHash<QString, int> m_mostAtOnce;
    QHash<QString, QList<qint64>> m_starts;
    QElapsedTimer m_clock;
    QByteArray m_lastUserAgent;
    int m_total = 0;
    QTcpServer m_server; // last: its sockets, going first, still count into the members above
};

// Skips the test unless it runs where loopback is the only network device and it is up, as
// under tests/support/loopbackonly; then nothing a fault sends can leave the machine.
bool onlyLoopbackNetwork();

} // namespace quillon::test

#define QUILLON_REQUIRE_LOOPBACK_ONLY()                                                            \
    do {                                                                                           \
        if (!quillon::test::onlyLoopbackNetwork())                                                 \
            QSKIP("needs a network namespace with only loopback (unshare --net, then ip link "     \
                  "set lo up); run it through ctest, which makes one where it can");               \
    } while (false)
