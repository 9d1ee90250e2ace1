#include "check/environmentproxy.h"

#include <QUrl>

namespace quillon {

namespace {

QString firstSet(const QProcessEnvironment &environment, const char *lower, const char *upper)
{
    const QString value = environment.value(QLatin1String(lower));
    return value.isEmpty() ? environment.value(QLatin1String(upper)) : value;
}

bool bypassesProxy(const QString &host, const QString &noProxy)
{
    const QString name = host.toLower();
    for (QString entry : noProxy.split(u',', Qt::SkipEmptyParts)) {
        entry = entry.trimmed().toLower();
        if (entry == QLatin1String("*"))
            return true;
        if (entry.startsWith(u'[') && entry.endsWith(u']'))
            entry = entry.mid(1, entry.size() - 2);
        while (entry.startsWith(u'.'))
            entry.remove(0, 1);
        if (entry.isEmpty())
            continue;
        if (name == entry || name.endsWith(u'.' + entry))
            return true;
    }
    return false;
}

std::optional<QNetworkProxy> parseProxy(const QString &text)
{
    const QString trimmed = text.trimmed();
    QUrl url(trimmed.contains(QLatin1String("://")) ? trimmed : QLatin1String("http://") + trimmed);
    const QString scheme = url.scheme().toLower();
    QNetworkProxy::ProxyType type = QNetworkProxy::DefaultProxy;
    if (scheme == QLatin1String("http"))
        type = QNetworkProxy::HttpProxy;
    else if (scheme == QLatin1String("socks5") || scheme == QLatin1String("socks5h"))
        type = QNetworkProxy::Socks5Proxy;
    if (type == QNetworkProxy::DefaultProxy || !url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return QNetworkProxy(type, url.host(), quint16(url.port(1080)), url.userName(), url.password());
}

} // namespace

ProxyEnvironment ProxyEnvironment::from(const QProcessEnvironment &environment)
{
    return {firstSet(environment, "http_proxy", "HTTP_PROXY"),
            firstSet(environment, "https_proxy", "HTTPS_PROXY"),
            firstSet(environment, "no_proxy", "NO_PROXY")};
}

std::optional<QNetworkProxy> proxyFor(const QUrl &address, const ProxyEnvironment &environment)
{
    const QString scheme = address.scheme().toLower();
    const QString setting = scheme == QLatin1String("https")  ? environment.httpsProxy
                            : scheme == QLatin1String("http") ? environment.httpProxy
                                                              : QString();
    if (setting.trimmed().isEmpty() || bypassesProxy(address.host(), environment.noProxy))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return parseProxy(setting);
}

QList<QNetworkProxy> EnvironmentProxyFactory::queryProxy(const QNetworkProxyQuery &query)
{
    return {proxyFor(query.url(), m_environment).value_or(QNetworkProxy(QNetworkProxy::NoProxy))};
}

} // namespace quillon
