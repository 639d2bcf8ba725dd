// A stop breaks the sequence off through its own Break and bounds the remaining waits.
#include "station/StopAwarePump.h"

#include <algorithm>

CStopAwarePump::CStopAwarePump(IWaitPump& inner, const ISteadyClock& clock,
                               std::function<void()> breakSequence)
    : m_inner(inner), m_clock(clock), m_break(std::move(breakSequence)) {}

void CStopAwarePump::BeginStop() {
    if (!m_stopping) {
        m_stopping = true;
        m_stopDeadline = m_clock.Now() + kStopGrace;
    }
}

bool CStopAwarePump::QuitRequested() const {
    return m_inner.QuitRequested() || (m_stopping && m_clock.Now() >= m_stopDeadline);
}

IWaitPump::Result CStopAwarePump::Wait(int fd, ISteadyClock::TimePoint deadline) {
    if (m_stopping) {
        m_break();
        if (m_clock.Now() >= m_stopDeadline) {
            return Result::Quit;
        }
        deadline = std::min(deadline, m_stopDeadline);
    }
    const Result result = m_inner.Wait(fd, deadline);
    if (m_stopping) {
        // The stop may have arrived during this wait (a signal handled inside it).
        m_break();
    }
    return result;
}
