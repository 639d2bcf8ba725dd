// FakeClock, ScriptedPump, FastForwardPump: time-outs checked without waiting for them.
#pragma once

#include <poll.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/ISteadyClock.h"
#include "link/IWaitPump.h"

class FakeClock : public ISteadyClock {
public:
    TimePoint Now() const override { return m_now; }
    void Set(TimePoint t) { m_now = t; }

private:
    TimePoint m_now = TimePoint(std::chrono::hours(1000));
};

// Waits for fd to become readable for real (at most limitMs); the result of poll().
inline IWaitPump::Result PollReal(int fd, int limitMs) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, limitMs) <= 0) {
        return IWaitPump::Result::Deadline;
    }
    return (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 ? IWaitPump::Result::HangUp
                                                               : IWaitPump::Result::Ready;
}

// Each wait runs the next scripted step (typically sending bytes from the far end) and returns
// once they can be read; with the script used up and nothing more arriving, the clock jumps to
// the deadline.
class ScriptedPump : public IWaitPump {
public:
    static constexpr int kInFlightMs = 100;

    explicit ScriptedPump(FakeClock& clock) : m_clock(clock) {}

    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override {
        m_timeouts.push_back(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - m_clock.Now()));
        if (m_quit) {
            return Result::Quit;
        }
        if (m_steps.empty()) {
            // Bytes of the last step may still be on their way through the terminal.
            const Result late = PollReal(fd, kInFlightMs);
            if (late != Result::Deadline) {
                return late;
            }
            m_clock.Set(deadline);
            return Result::Deadline;
        }
        auto step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
        const Result result = PollReal(fd, 1000);
        return result == Result::Deadline ? Result::Ready : result;
    }
    void RequestQuit() override { m_quit = true; }
    bool QuitRequested() const override { return m_quit; }

    // Time left to the deadline at each wait, in order.
    const std::vector<std::chrono::milliseconds>& Timeouts() const { return m_timeouts; }
    int Waits() const { return static_cast<int>(m_timeouts.size()); }

private:
    FakeClock& m_clock;
    std::deque<std::function<void()>> m_steps;
    std::vector<std::chrono::milliseconds> m_timeouts;
    bool m_quit = false;
};

// Waits for real, but when nothing arrives within a short while and the far end is quiet (has
// read and answered everything, when the test says how to tell) the clock jumps to the deadline:
// silence costs a fraction of a second instead of the whole time-out, and a far end slowed down
// by a busy machine is waited for. Before each wait it runs the test's hook (when set), as the
// window's event dispatch would run a Break click or a timer tick.
class FastForwardPump : public IWaitPump {
public:
    explicit FastForwardPump(FakeClock& clock, int patienceMs = 300)
        : m_clock(clock), m_patienceMs(patienceMs) {}

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override {
        if (hook) {
            hook();
        }
        if (m_quit) {
            return Result::Quit;
        }
        for (;;) {
            const Result result = PollReal(fd, m_patienceMs);
            if (result != Result::Deadline) {
                return result;
            }
            if (!quiet || quiet()) {
                // An answer written just before the far end fell quiet may still be on its way.
                const Result late = PollReal(fd, kInFlightMs);
                if (late == Result::Deadline) {
                    m_clock.Set(deadline);
                }
                return late;
            }
        }
    }
    void RequestQuit() override { m_quit = true; }
    bool QuitRequested() const override { return m_quit; }

    std::function<void()> hook;
    std::function<bool()> quiet;

private:
    static constexpr int kInFlightMs = 50;
    FakeClock& m_clock;
    int m_patienceMs;
    bool m_quit = false;
};
