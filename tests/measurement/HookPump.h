// HookPump: a test wait pump that skips silence and runs a hook as the window's events would.
#pragma once

#include <functional>

#include "TestPumps.h"

// Waits for real but skips silence: after a short while without bytes the steady clock jumps
// to the deadline. Before each wait it runs the test's hook, as the window's event dispatch
// would run a Break click or a timer tick.
class HookPump : public IWaitPump {
public:
    explicit HookPump(FakeClock& clock, int patienceMs = 200)
        : m_clock(clock), m_patienceMs(patienceMs) {}
    Result Wait(int fd, ISteadyClock::TimePoint deadline) override {
        if (hook) {
            hook();
        }
        if (m_quit) {
            return Result::Quit;
        }
        const Result result = PollReal(fd, m_patienceMs);
        if (result == Result::Deadline) {
            m_clock.Set(deadline);
        }
        return result;
    }
    void RequestQuit() override { m_quit = true; }
    bool QuitRequested() const override { return m_quit; }
    std::function<void()> hook;

private:
    FakeClock& m_clock;
    int m_patienceMs;
    bool m_quit = false;
};
