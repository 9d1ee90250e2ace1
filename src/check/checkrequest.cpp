#include "check/checkrequest.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace quillon {

std::optional<int> retryDelayMs(int httpCode, RequestFailure failure, const QByteArray &retryAfter,
                                const LinkCheckSettings &settings)
{
    if (httpCode == 429 || httpCode == 503) {
        bool isSeconds = false;
        const qint64 seconds = retryAfter.trimmed().toLongLong(&isSeconds);
        if (!isSeconds || seconds < 0)
            return settings.retryDelayMs; // absent, or an HTTP date
        return int(std::min<qint64>(seconds, settings.maxRetryAfterSeconds) * 1000);
    }
    if (httpCode >= 500 || failure == RequestFailure::TimedOut || failure == RequestFailure::Reset)
        return settings.retryDelayMs;
    return std::nullopt;
}

void prepareCheckManager(QNetworkAccessManager &manager, const LinkCheckSettings &settings)
{
    manager.setProxyFactory(new EnvironmentProxyFactory(settings.proxies));
    manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

std::optional<QString> proxyProblem(const QUrl &url, const LinkCheckSettings &settings)
{
    if (proxyFor(url, settings.proxies))
        return std::nullopt;
    return QCoreApplication::translate("quillon::LinkStatus",
                                       "the proxy setting for %1: addresses cannot be used")
        .arg(url.scheme());
}

HeadFetch::HeadFetch(QNetworkAccessManager &manager, const QUrl &url, int timeoutMs,
                     qsizetype bodyLimit, QObject *parent)
    : QObject(parent)
    , m_bodyLimit(bodyLimit)
{
    QUrl target = url;
    target.setUserInfo(QString()); // never send credentials, not even those in the address
    QNetworkRequest request(target);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Quillon/%1").arg(QStringLiteral(QUILLON_VERSION)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);

    m_reply = manager.get(request);
    // Bounds what Qt buffers of a body that nobody reads.
    m_reply->setReadBufferSize(std::max<qsizetype>(bodyLimit, 16 * 1024));
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HeadFetch::readHeaders);
    connect(m_reply, &QNetworkReply::readyRead, this, &HeadFetch::readBody);
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        readHeaders();
        if (!m_reply)
            return;
        readBody();
        if (!m_reply)
            return;
        const QNetworkReply::NetworkError error = m_reply->error();
        finish(m_outcome.httpCode > 0 ? RequestFailure::None : failureFromNetworkError(error),
               error == QNetworkReply::NoError ? QString() : m_reply->errorString());
    });
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this,
            [this] { finish(RequestFailure::TimedOut, QString()); });
    m_timeout.start(timeoutMs);
}

HeadFetch::~HeadFetch()
{
    abort();
}

void HeadFetch::readHeaders()
{
    if (!m_reply || m_headersRead)
        return;
    const QVariant code = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!code.isValid())
        return;
    m_headersRead = true;
    m_outcome.httpCode = code.toInt();
    m_outcome.location = m_reply->rawHeader("Location");
    m_outcome.retryAfter = m_reply->rawHeader("Retry-After");
    const bool wantsBody = m_bodyLimit > 0 && m_outcome.httpCode >= 200 && m_outcome.httpCode < 300;
    if (!wantsBody)
        finish(RequestFailure::None, QString());
}

void HeadFetch::readBody()
{
    if (!m_reply || !m_headersRead)
        return;
    const QByteArray more = m_reply->read(m_bodyLimit - m_outcome.body.size() + 1);
    m_outcome.body += more;
    if (m_outcome.body.size() > m_bodyLimit) {
        m_outcome.body.truncate(m_bodyLimit);
        m_outcome.bodyTooLong = true;
        finish(RequestFailure::None, QString());
    }
}

void HeadFetch::finish(RequestFailure failure, const QString &failureText)
{
    if (!m_reply)
        return;
    m_outcome.failure = failure;
    m_outcome.failureText = failureText;
    abort();
    Q_EMIT done();
}

void HeadFetch::abort()
{
    m_timeout.stop();
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    // Not at once: Qt's reply does not take an abort from inside its own signals.
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            reply->abort();
            reply->deleteLater();
        },
        Qt::QueuedConnection);
}

} // namespace quillon
