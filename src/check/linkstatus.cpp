#include "check/linkstatus.h"

#include <QCoreApplication>

namespace quillon {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("quillon::LinkStatus", text);
}

bool isSuccess(int code)
{
    return code >= 200 && code < 300;
}

bool isPermanentRedirect(int code)
{
    return code == 301 || code == 308;
}

// A host without a leading "www.": adding or dropping it does not make another site.
QString siteHost(const QUrl &url)
{
    const QString host = url.host().toLower();
    return host.startsWith(QLatin1String("www.")) ? host.mid(4) : host;
}

bool isRootPath(const QUrl &url)
{
    const QString path = url.path();
    return path.isEmpty() || path == QLatin1String("/");
}

// The page is gone and the site sends its front page instead.
bool fallsBackToFrontPage(const CheckTrace &trace)
{
    const QUrl &first = trace.chain.first();
    const QUrl &last = trace.chain.last();
    return trace.chain.size() > 1 && !isRootPath(first) && isRootPath(last) && !last.hasQuery();
}

LinkCheckResult result(LinkStatus status, const CheckTrace &trace, const QString &reason)
{
    LinkCheckResult r;
    r.status = status;
    r.httpCode = trace.finalCode;
    if (trace.chain.size() > 1)
        r.finalAddress = trace.chain.last().toString(QUrl::FullyEncoded);
    r.reason = reason;
    return r;
}

QString failureReason(const CheckTrace &trace)
{
    switch (trace.failure) {
    case RequestFailure::TimedOut:
        return tr("no answer in time");
    case RequestFailure::Refused:
        return tr("connection refused");
    case RequestFailure::Reset:
        return tr("connection closed without an answer");
    case RequestFailure::Tls:
        return tr("secure connection failed: %1").arg(trace.failureText);
    case RequestFailure::HostNotFound:
        return tr("host name not found, and no other host answered: the network seems "
                  "unreachable");
    case RequestFailure::None:
    case RequestFailure::Other:
    case RequestFailure::BadRedirect:
        break;
    }
    return trace.failureText.isEmpty() ? tr("no usable answer") : trace.failureText;
}

} // namespace

QString linkStatusWord(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Skipped:
        return QStringLiteral("skipped");
    case LinkStatus::Ok:
        return QStringLiteral("ok");
    case LinkStatus::Moved:
        return QStringLiteral("moved");
    case LinkStatus::Elsewhere:
        return QStringLiteral("elsewhere");
    case LinkStatus::Blocked:
        return QStringLiteral("blocked");
    case LinkStatus::Dead:
        return QStringLiteral("dead");
    case LinkStatus::Unsure:
        return QStringLiteral("unsure");
    case LinkStatus::Archived:
        return QStringLiteral("archived");
    }
    return QStringLiteral("unsure");
}

RequestFailure failureFromNetworkError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError:
        return RequestFailure::None;
    case QNetworkReply::HostNotFoundError:
        return RequestFailure::HostNotFound;
    case QNetworkReply::TimeoutError:
        return RequestFailure::TimedOut;
    case QNetworkReply::ConnectionRefusedError:
        return RequestFailure::Refused;
    case QNetworkReply::RemoteHostClosedError:
        return RequestFailure::Reset;
    case QNetworkReply::SslHandshakeFailedError:
        return RequestFailure::Tls;
    default:
        break;
    }
    // Content and protocol errors carry an HTTP status that says more than the error.
    if (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownServerError)
        return RequestFailure::None;
    return RequestFailure::Other;
}

LinkCheckResult decideLinkStatus(const CheckTrace &trace, bool someHostAnswered)
{
    if (trace.chain.isEmpty())
        return result(LinkStatus::Skipped, trace, tr("not an http: or https: address"));
    const int code = trace.finalCode;
    const bool answered = trace.failure == RequestFailure::None && code > 0;

    if (code == 404 || code == 410)
        return result(LinkStatus::Dead, trace, tr("the page is gone (HTTP %1)").arg(code));
    if (trace.failure == RequestFailure::HostNotFound && someHostAnswered)
        return result(LinkStatus::Dead, trace, tr("the host name does not exist"));
    if (answered && isSuccess(code) && fallsBackToFrontPage(trace))
        return result(LinkStatus::Dead, trace,
                      tr("the page is gone: the site sends its front page instead"));

    if (code == 401 || code == 403 || code == 429 || code == 451 || code == 999)
        return result(LinkStatus::Blocked, trace,
                      tr("the site refused the check (HTTP %1); open it in a browser").arg(code));

    if (answered && isSuccess(code)) {
        if (trace.chain.size() == 1)
            return result(LinkStatus::Ok, trace, QString());
        if (siteHost(trace.chain.first()) != siteHost(trace.chain.last()))
            return result(LinkStatus::Elsewhere, trace,
                          tr("redirected to another site: %1").arg(trace.chain.last().host()));
        if (std::all_of(trace.redirectCodes.begin(), trace.redirectCodes.end(),
                        isPermanentRedirect) &&
            trace.chain.first() != trace.chain.last())
            return result(LinkStatus::Moved, trace, tr("moved permanently to a new address"));
        return result(LinkStatus::Ok, trace, tr("redirected within the site"));
    }

    if (answered)
        return result(LinkStatus::Unsure, trace, tr("unexpected answer (HTTP %1)").arg(code));
    return result(LinkStatus::Unsure, trace, failureReason(trace));
}

bool isCheckableAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace quillon
