// CStopAwarePump: instrument waits that break a running measurement off once a stop is asked.
#pragma once

#include <chrono>
#include <functional>

#include "link/ISteadyClock.h"
#include "link/IWaitPump.h"

class CStopAwarePump : public IWaitPump {
public:
    // The grace a stop leaves the instruments: the acquisition in hand may finish (the
    // sequence then skips the dark reading and the remaining positions) and the band may take
    // its park command; then every wait fails, so the program ends in time.
    static constexpr std::chrono::milliseconds kStopGrace{4000};

    // breakSequence presses the sequence's Break. inner does the waiting.
    CStopAwarePump(IWaitPump& inner, const ISteadyClock& clock,
                   std::function<void()> breakSequence);

    // From now on: Break at every wait (each acquisition clears it when it starts), and no
    // wait beyond the grace.
    void BeginStop();
    bool Stopping() const { return m_stopping; }

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override;
    void RequestQuit() override { m_inner.RequestQuit(); }
    bool QuitRequested() const override;

private:
    IWaitPump& m_inner;
    const ISteadyClock& m_clock;
    std::function<void()> m_break;
    bool m_stopping = false;
    ISteadyClock::TimePoint m_stopDeadline{};
};
