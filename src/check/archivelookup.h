#pragma once

#include "check/checkrequest.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>

#include <deque>
#include <optional>
#include <vector>

namespace quillon {

// A row whose archived copy is wanted: its address and its date (Unix seconds), if known.
struct ArchiveQuery {
    int row = 0;
    QString address;
    std::optional<qint64> modifiedAt;
};

struct ArchiveAnswer {
    QString snapshotAddress; // empty when there is no copy or the query failed
    QString reason;          // why there is none
};

// The availability service's address for an address and date: the service with
// url=<address, percent-encoded> and timestamp=<YYYYMMDDhhmmss, UTC>.
QUrl availabilityQuery(const QUrl &service, const QString &address,
                       std::optional<qint64> modifiedAt);

// The snapshot address in the service's JSON answer, empty when it has no copy; no value when
// the answer is not the service's JSON.
std::optional<QString> snapshotAddress(const QByteArray &json);

// Asks the archive for the copy nearest each row's date, one query per distinct address and
// date, one at a time and at least the host gap apart; a 429 pauses the queries for its
// Retry-After. Lives and works on the thread it was made on, like LinkChecker.
class ArchiveLookup : public QObject {
    Q_OBJECT
public:
    explicit ArchiveLookup(LinkCheckSettings settings = {}, QObject *parent = nullptr);
    ~ArchiveLookup() override;

    void start(const QList<ArchiveQuery> &queries);
    void stop(); // results so far stay; finished() follows
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void answered(int row, const quillon::ArchiveAnswer &answer);
    void progress(int asked, int total);
    void finished();

private:
    struct Question {
        QUrl query;
        QList<int> rows;
        bool retried = false;
    };

    void askNext();
    void answeredBy(const FetchOutcome &outcome);
    void reply(const ArchiveAnswer &answer);
    void end();

    LinkCheckSettings m_settings;
    QNetworkAccessManager m_manager;
    QElapsedTimer m_clock;
    QTimer m_wait;
    std::vector<Question> m_questions;
    size_t m_current = 0;
    HeadFetch *m_fetch = nullptr;
    qint64 m_lastStartMs = 0;
    bool m_running = false;
};

} // namespace quillon
