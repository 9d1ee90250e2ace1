#include "check/archivelookup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillon {

namespace {

constexpr qsizetype maxAnswerBytes = 64 * 1024;

} // namespace

QUrl availabilityQuery(const QUrl &service, const QString &address,
                       std::optional<qint64> modifiedAt)
{
    QByteArray query = "url=" + QUrl::toPercentEncoding(address);
    if (modifiedAt)
        query += "&timestamp=" + QDateTime::fromSecsSinceEpoch(*modifiedAt, Qt::UTC)
                                     .toString(QStringLiteral("yyyyMMddHHmmss"))
                                     .toLatin1();
    QUrl url = service;
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

std::optional<QString> snapshotAddress(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(QLatin1String("archived_snapshots")).isObject())
        return std::nullopt;
    const QJsonObject closest = document.object()
                                    .value(QLatin1String("archived_snapshots"))
                                    .toObject()
                                    .value(QLatin1String("closest"))
                                    .toObject();
    if (!closest.value(QLatin1String("available")).toBool())
        return QString();
    // The address goes into written lists: only a web address is taken.
    const QString url = closest.value(QLatin1String("url")).toString();
    if (!isCheckableAddress(QUrl(url, QUrl::StrictMode)))
        return std::nullopt;
    return url;
}

ArchiveLookup::ArchiveLookup(LinkCheckSettings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
{
    prepareCheckManager(m_manager, m_settings);
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &ArchiveLookup::askNext);
    m_clock.start();
}

ArchiveLookup::~ArchiveLookup()
{
    delete m_fetch;
}

void ArchiveLookup::start(const QList<ArchiveQuery> &queries)
{
    stop();
    m_questions.clear();
    m_current = 0;
    m_running = true;
    QHash<QUrl, size_t> questionOf;
    for (const ArchiveQuery &query : queries) {
        const QUrl url =
            availabilityQuery(m_settings.archiveService, query.address, query.modifiedAt);
        const auto known = questionOf.constFind(url);
        if (known != questionOf.constEnd()) {
            m_questions[*known].rows.append(query.row);
            continue;
        }
        questionOf.insert(url, m_questions.size());
        m_questions.push_back({url, {query.row}});
    }
    m_wait.start(0);
}

void ArchiveLookup::stop()
{
    if (!m_running)
        return;
    m_wait.stop();
    delete m_fetch;
    m_fetch = nullptr;
    end();
}

void ArchiveLookup::askNext()
{
    if (m_current >= m_questions.size()) {
        end();
        return;
    }
    const qint64 gapLeft = m_lastStartMs + m_settings.perHostGapMs - m_clock.elapsed();
    if (m_lastStartMs > 0 && gapLeft > 0) {
        m_wait.start(int(gapLeft));
        return;
    }
    const QUrl &query = m_questions[m_current].query;
    if (const std::optional<QString> problem = proxyProblem(query, m_settings)) {
        reply({QString(), *problem});
        return;
    }
    m_lastStartMs = std::max<qint64>(1, m_clock.elapsed());
    m_fetch = new HeadFetch(m_manager, query, m_settings.timeoutMs, maxAnswerBytes);
    connect(m_fetch, &HeadFetch::done, this, [this] {
        const FetchOutcome outcome = m_fetch->outcome();
        m_fetch->deleteLater();
        m_fetch = nullptr;
        answeredBy(outcome);
    });
}

void ArchiveLookup::answeredBy(const FetchOutcome &outcome)
{
    Question &question = m_questions[m_current];
    const std::optional<int> delay =
        question.retried
            ? std::nullopt
            : retryDelayMs(outcome.httpCode, outcome.failure, outcome.retryAfter, m_settings);
    if (delay) {
        // The pause holds back every query, not only this one: there is one archive host.
        question.retried = true;
        m_wait.start(*delay);
        return;
    }
    if (outcome.httpCode != 200) {
        reply({QString(),
               outcome.httpCode > 0
                   ? tr("the archive did not answer the query (HTTP %1)").arg(outcome.httpCode)
                   : tr("the archive could not be reached: %1")
                         .arg(outcome.failureText.isEmpty() ? tr("no answer in time")
                                                            : outcome.failureText)});
        return;
    }
    const std::optional<QString> snapshot =
        outcome.bodyTooLong ? std::nullopt : snapshotAddress(outcome.body);
    if (!snapshot)
        reply({QString(), tr("the archive's answer could not be read")});
    else if (snapshot->isEmpty())
        reply({QString(), tr("the archive has no copy")});
    else
        reply({*snapshot, QString()});
}

void ArchiveLookup::reply(const ArchiveAnswer &answer)
{
    for (const int row : std::as_const(m_questions[m_current].rows))
        Q_EMIT answered(row, answer);
    ++m_current;
    Q_EMIT progress(int(m_current), int(m_questions.size()));
    m_wait.start(0);
}

void ArchiveLookup::end()
{
    m_running = false;
    Q_EMIT finished();
}

} // namespace quillon
