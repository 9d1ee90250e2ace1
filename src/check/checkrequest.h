#pragma once

#include "check/environmentproxy.h"
#include "check/linkstatus.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

namespace quillon {

struct LinkCheckSettings {
    int maxInFlight = 64;
    int perHostInFlight = 4;
    int perHostGapMs = 100; // between the starts of two requests to one host
    int timeoutMs = 15000;  // per request
    // Before the one retry of a time-out, a reset or a 5xx, and of a 429 or 503 that gives no
    // Retry-After in seconds.
    int retryDelayMs = 1000;
    int maxRetryAfterSeconds = 60;
    QUrl archiveService = QUrl(QStringLiteral("https://archive.org/wayback/available"));
    ProxyEnvironment proxies = ProxyEnvironment::from(QProcessEnvironment::systemEnvironment());
};

// The wait before asking once more after an answer (an HTTP code, or 0 and a failure); none
// when the answer is final. A 429 or 503 waits for its Retry-After in seconds, at most the
// settings' maximum; a time-out, a reset and other 5xx codes wait the settings' retry delay.
std::optional<int> retryDelayMs(int httpCode, RequestFailure failure, const QByteArray &retryAfter,
                                const LinkCheckSettings &settings);

// Sets up a manager for checking: the proxies of the settings; HeadFetch keeps the rest
// (cookies, credentials, cache) out of each request.
void prepareCheckManager(QNetworkAccessManager &manager, const LinkCheckSettings &settings);

struct FetchOutcome {
    int httpCode = 0;
    QByteArray location;   // the raw Location header
    QByteArray retryAfter; // the raw Retry-After header
    QByteArray body;       // at most the body limit; only read for 2xx answers
    bool bodyTooLong = false;
    RequestFailure failure = RequestFailure::None;
    QString failureText;
};

// One GET as the checker sends it: a User-Agent naming Quillon, no cookies, no credentials,
// redirects left to the caller, TLS errors never ignored. It stops at the headers, or, with a
// body limit, once the body is read or exceeds the limit; it gives up after the time-out.
// done() comes exactly once, later, unless abort() came first.
class HeadFetch : public QObject {
    Q_OBJECT
public:
    HeadFetch(QNetworkAccessManager &manager, const QUrl &url, int timeoutMs,
              qsizetype bodyLimit = 0, QObject *parent = nullptr);
    ~HeadFetch() override;

    const FetchOutcome &outcome() const { return m_outcome; }
    void abort();

Q_SIGNALS:
    void done();

private:
    void readHeaders();
    void readBody();
    void finish(RequestFailure failure, const QString &failureText);

    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    qsizetype m_bodyLimit;
    bool m_headersRead = false;
    FetchOutcome m_outcome;
};

// The failure for an address the checker will not request (through an unusable proxy
// setting); none when it may go out.
std::optional<QString> proxyProblem(const QUrl &url, const LinkCheckSettings &settings);

} // namespace quillon
