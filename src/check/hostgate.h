#pragma once

#include <QHash>
#include <QString>

#include <deque>
#include <optional>
#include <queue>
#include <vector>

namespace quillon {

// Decides which waiting request may start now, so that no host gets more than a few requests
// at once or two starts closer than a minimum gap, and no more than a total are in flight.
// Of the jobs whose host may take one, the one waiting longest starts first: a host that is
// held back never holds back the others, and many slow hosts do not push a quick host's later
// jobs behind all of theirs, as taking turns by host would. Time comes from the caller
// (milliseconds on any steady clock), which keeps the gate free of timers and easy to test.
class HostGate {
public:
    struct Limits {
        int totalInFlight = 64;
        int perHostInFlight = 4;
        int perHostGapMs = 100;
    };

    explicit HostGate(Limits limits)
        : m_limits(limits)
    {}

    void enqueue(const QString &host, int job);

    // The next job that may start at nowMs, counted as started; none when every waiting job
    // has to wait for a slot or for its host's gap.
    std::optional<int> takeNext(qint64 nowMs);

    // When a job held back only by a host's gap may start; none when no job waits for a gap.
    std::optional<qint64> nextGapEndsAt() const;

    // A started job of this host ended, freeing its slot.
    void release(const QString &host);

    int inFlight() const { return m_inFlight; }
    bool hasWaiting() const { return m_waiting > 0; }

private:
    enum class Place { Idle, Turn, Gap };
    struct Host {
        std::deque<std::pair<qint64, int>> jobs; // (order of arrival, job)
        int inFlight = 0;
        qint64 lastStartMs = 0;
        bool started = false;
        Place place = Place::Idle;
    };
    using Timed = std::pair<qint64, QString>; // (arrival of the first job, or end of a gap; host)
    using EarliestFirst = std::priority_queue<Timed, std::vector<Timed>, std::greater<>>;

    void offerTurn(const QString &host, Host &state);

    Limits m_limits;
    QHash<QString, Host> m_hosts;
    EarliestFirst m_turns; // hosts with waiting jobs that may be able to start one
    EarliestFirst m_gaps;
    qint64 m_arrivals = 0;
    int m_inFlight = 0;
    int m_waiting = 0;
};

} // namespace quillon
