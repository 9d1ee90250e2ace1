#pragma once

#include <QNetworkProxyFactory>
#include <QProcessEnvironment>

#include <optional>

namespace quillon {

// The proxy settings of the environment, read as curl reads them: http_proxy or HTTP_PROXY
// for http: addresses, https_proxy or HTTPS_PROXY for https: ones (the lower-case name wins),
// and no_proxy or NO_PROXY, a comma-separated list of host names each of which also matches
// its sub-domains ("*" matches every host). Qt reads these only together with the rest of
// the system configuration, which the checker does not want.
struct ProxyEnvironment {
    QString httpProxy;
    QString httpsProxy;
    QString noProxy;

    static ProxyEnvironment from(const QProcessEnvironment &environment);
};

// The proxy to use for an address; QNetworkProxy::NoProxy when none applies. A proxy written
// without a scheme is an HTTP proxy, and without a port it is on port 1080, as in curl. A
// proxy of a kind Qt cannot use (an https:// proxy, say) gives no value: the caller then fails
// the request rather than going around the proxy.
std::optional<QNetworkProxy> proxyFor(const QUrl &address, const ProxyEnvironment &environment);

// Gives Qt the proxies of proxyFor; an unusable setting gives none, callers check first.
class EnvironmentProxyFactory : public QNetworkProxyFactory {
public:
    explicit EnvironmentProxyFactory(ProxyEnvironment environment)
        : m_environment(std::move(environment))
    {}
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override;

private:
    ProxyEnvironment m_environment;
};

} // namespace quillon
