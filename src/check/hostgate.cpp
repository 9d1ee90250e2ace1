#include "check/hostgate.h"

namespace quillon {

void HostGate::offerTurn(const QString &host, Host &state)
{
    if (state.place == Place::Idle && !state.jobs.empty() &&
        state.inFlight < m_limits.perHostInFlight) {
        state.place = Place::Turn;
        m_turns.emplace(state.jobs.front().first, host);
    }
}

void HostGate::enqueue(const QString &host, int job)
{
    Host &state = m_hosts[host];
    state.jobs.emplace_back(m_arrivals++, job);
    ++m_waiting;
    offerTurn(host, state);
}

std::optional<int> HostGate::takeNext(qint64 nowMs)
{
    while (!m_gaps.empty() && m_gaps.top().first <= nowMs) {
        const QString host = m_gaps.top().second;
        m_gaps.pop();
        Host &state = m_hosts[host];
        state.place = Place::Idle;
        offerTurn(host, state);
    }
    while (m_inFlight < m_limits.totalInFlight && !m_turns.empty()) {
        const QString host = m_turns.top().second;
        m_turns.pop();
        Host &state = m_hosts[host];
        state.place = Place::Idle;
        if (state.jobs.empty() || state.inFlight >= m_limits.perHostInFlight)
            continue; // offered again when a job is added or a slot frees
        const qint64 gapEnd = state.lastStartMs + m_limits.perHostGapMs;
        if (state.started && gapEnd > nowMs) {
            state.place = Place::Gap;
            m_gaps.emplace(gapEnd, host);
            continue;
        }
        const int job = state.jobs.front().second;
        state.jobs.pop_front();
        --m_waiting;
        ++state.inFlight;
        ++m_inFlight;
        state.started = true;
        state.lastStartMs = nowMs;
        offerTurn(host, state);
        return job;
    }
    return std::nullopt;
}

std::optional<qint64> HostGate::nextGapEndsAt() const
{
    if (m_gaps.empty())
        return std::nullopt;
    return m_gaps.top().first;
}

void HostGate::release(const QString &host)
{
    // A host stays known after its last job, so that a later retry or redirect keeps the gap.
    --m_inFlight;
    Host &state = m_hosts[host];
    --state.inFlight;
    offerTurn(host, state);
}

} // namespace quillon
