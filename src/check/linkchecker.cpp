#include "check/linkchecker.h"

#include <QCoreApplication>

namespace quillon {

namespace {

constexpr int maxRedirects = 10;

bool isRedirect(int code)
{
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

QString hostOf(const QUrl &url)
{
    return url.host().toLower();
}

} // namespace

LinkChecker::LinkChecker(LinkCheckSettings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_gate({})
{
    prepareCheckManager(m_manager, m_settings);
    m_gapTimer.setSingleShot(true);
    m_gapTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_gapTimer, &QTimer::timeout, this, &LinkChecker::pump);
    m_clock.start();
}

LinkChecker::~LinkChecker()
{
    for (Target &target : m_targets)
        delete target.fetch;
}

void LinkChecker::start(const QStringList &addresses)
{
    stop();
    m_targets.clear();
    m_heldTargets.clear();
    m_gate =
        HostGate({m_settings.maxInFlight, m_settings.perHostInFlight, m_settings.perHostGapMs});
    m_retriesWaiting = m_checked = m_dead = 0;
    m_someHostAnswered = false;
    m_running = true;

    QHash<QString, int> targetOfAddress;
    QList<int> skippedRows;
    for (int row = 0; row < addresses.size(); ++row) {
        const QString &address = addresses.at(row);
        const auto known = targetOfAddress.constFind(address);
        if (known != targetOfAddress.constEnd()) {
            m_targets[size_t(*known)].rows.append(row);
            continue;
        }
        const QUrl url(address.trimmed());
        if (!isCheckableAddress(url)) {
            skippedRows.append(row);
            continue;
        }
        targetOfAddress.insert(address, int(m_targets.size()));
        Target target;
        target.rows.append(row);
        target.trace.chain.append(url);
        m_targets.push_back(std::move(target));
        m_gate.enqueue(hostOf(url), int(m_targets.size()) - 1);
    }
    const quint64 generation = ++m_generation;
    QMetaObject::invokeMethod(
        this, [this, generation, skippedRows] { begin(generation, skippedRows); },
        Qt::QueuedConnection);
}

void LinkChecker::begin(quint64 generation, const QList<int> &skippedRows)
{
    if (generation != m_generation || !m_running)
        return;
    for (const int row : skippedRows)
        Q_EMIT resultReady(row, decideLinkStatus(CheckTrace(), false));
    Q_EMIT progress(0, int(m_targets.size()), 0);
    pump();
}

void LinkChecker::stop()
{
    if (!m_running)
        return;
    ++m_generation; // retries and queued starts of this check are ignored from now on
    m_gapTimer.stop();
    for (Target &target : m_targets) {
        delete target.fetch;
        target.fetch = nullptr;
    }
    end(true);
}

void LinkChecker::pump()
{
    if (!m_running)
        return;
    while (const std::optional<int> next = m_gate.takeNext(m_clock.elapsed()))
        launch(*next);
    if (const std::optional<qint64> gapEnd = m_gate.nextGapEndsAt())
        m_gapTimer.start(int(std::max<qint64>(0, *gapEnd - m_clock.elapsed())));
    if (m_gate.inFlight() == 0 && !m_gate.hasWaiting() && m_retriesWaiting == 0)
        end(false);
}

void LinkChecker::launch(int index)
{
    Target &target = m_targets[size_t(index)];
    const QUrl &url = target.trace.chain.last();
    if (const std::optional<QString> problem = proxyProblem(url, m_settings)) {
        m_gate.release(hostOf(url));
        conclude(index, 0, RequestFailure::Other, *problem);
        return;
    }
    target.fetch = new HeadFetch(m_manager, url, m_settings.timeoutMs);
    connect(target.fetch, &HeadFetch::done, this, [this, index] { fetched(index); });
}

void LinkChecker::fetched(int index)
{
    Target &target = m_targets[size_t(index)];
    const FetchOutcome outcome = target.fetch->outcome();
    target.fetch->deleteLater();
    target.fetch = nullptr;
    m_gate.release(hostOf(target.trace.chain.last()));
    if (outcome.httpCode > 0 && !m_someHostAnswered) {
        m_someHostAnswered = true;
        reportHeld();
    }

    const std::optional<int> delay =
        target.retried
            ? std::nullopt
            : retryDelayMs(outcome.httpCode, outcome.failure, outcome.retryAfter, m_settings);
    if (delay)
        retryLater(index, *delay);
    else if (!isRedirect(outcome.httpCode) ||
             !followRedirect(index, outcome.httpCode, outcome.location))
        conclude(index, outcome.httpCode, outcome.failure, outcome.failureText);
    pump();
}

// Queues the next step of the chain; false when the redirect ends the check as unsure.
bool LinkChecker::followRedirect(int index, int code, const QByteArray &location)
{
    Target &target = m_targets[size_t(index)];
    CheckTrace &trace = target.trace;
    if (location.isEmpty())
        return false;
    const QUrl next = trace.chain.last().resolved(QUrl::fromEncoded(location.trimmed()));
    QString problem;
    if (!isCheckableAddress(next))
        problem = tr("redirected to an address that is not http: or https: (%1)")
                      .arg(next.toString(QUrl::FullyEncoded));
    else if (trace.chain.contains(next))
        problem = tr("redirect loop");
    else if (trace.redirectCodes.size() >= maxRedirects)
        problem = tr("more than %1 redirects").arg(maxRedirects);
    if (!problem.isEmpty()) {
        if (trace.redirectCodes.size() < maxRedirects) {
            trace.chain.append(next);
            trace.redirectCodes.append(code);
        }
        trace.failure = RequestFailure::BadRedirect;
        trace.failureText = problem;
        return false;
    }
    trace.chain.append(next);
    trace.redirectCodes.append(code);
    target.retried = false;
    m_gate.enqueue(hostOf(next), index);
    return true;
}

void LinkChecker::retryLater(int index, int delayMs)
{
    m_targets[size_t(index)].retried = true;
    ++m_retriesWaiting;
    const quint64 generation = m_generation;
    QTimer::singleShot(delayMs, Qt::PreciseTimer, this, [this, index, generation] {
        if (generation != m_generation)
            return;
        --m_retriesWaiting;
        m_gate.enqueue(hostOf(m_targets[size_t(index)].trace.chain.last()), index);
        pump();
    });
}

void LinkChecker::conclude(int index, int httpCode, RequestFailure failure, const QString &text)
{
    CheckTrace &trace = m_targets[size_t(index)].trace;
    trace.finalCode = httpCode;
    if (trace.failure != RequestFailure::BadRedirect) {
        trace.failure = failure;
        trace.failureText = text;
    }
    if (trace.failure == RequestFailure::HostNotFound && !m_someHostAnswered) {
        m_heldTargets.append(index);
        return;
    }
    report(index, decideLinkStatus(trace, m_someHostAnswered));
}

void LinkChecker::report(int index, const LinkCheckResult &result)
{
    Target &target = m_targets[size_t(index)];
    target.decided = true;
    target.trace = CheckTrace(); // what is reported is all that is kept
    ++m_checked;
    if (result.status == LinkStatus::Dead)
        ++m_dead;
    for (const int row : std::as_const(target.rows))
        Q_EMIT resultReady(row, result);
    Q_EMIT progress(m_checked, int(m_targets.size()), m_dead);
}

void LinkChecker::reportHeld()
{
    const QList<int> held = std::exchange(m_heldTargets, {});
    for (const int index : held)
        report(index, decideLinkStatus(m_targets[size_t(index)].trace, m_someHostAnswered));
}

void LinkChecker::end(bool stopped)
{
    m_running = false;
    reportHeld();
    Q_EMIT finished(!stopped && !m_someHostAnswered && !m_targets.empty());
}

} // namespace quillon
