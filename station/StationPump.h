// CStationPump: the station's only way to sleep: instrument waits and the waits between slots,
// both in poll() on the port, the signals (signalfd) and a timer; the watchdog is fed meanwhile.
#pragma once

#include <chrono>
#include <functional>

#include "data/NonCopyable.h"
#include "link/ISteadyClock.h"
#include "link/IWaitPump.h"
#include "link/WakeEvent.h"
#include "station/IStationSleeper.h"

class CServiceNotifier;

class CStationPump : public IWaitPump, public IStationSleeper, CNonCopyable {
public:
    // onSignal receives SIGTERM, SIGINT and SIGHUP, which are blocked from now on and read
    // from a signalfd. The notifier (may be null) gets WATCHDOG=1 at half its interval while an
    // instrument wait lasts.
    CStationPump(std::function<void(int)> onSignal, CServiceNotifier* notifier);
    ~CStationPump() override;

    bool Ok() const { return m_signalFd >= 0 && m_timerFd >= 0 && m_wake.Ok(); }

    // IWaitPump.
    Result Wait(int fd, ISteadyClock::TimePoint deadline) override;
    void RequestQuit() override;
    bool QuitRequested() const override { return m_quit; }

    // IStationSleeper.
    Wake SleepUntil(int64_t t, int portFd) override;

private:
    bool DispatchSignals();
    void FeedWatchdogIfDue();

    std::function<void(int)> m_onSignal;
    CServiceNotifier* m_notifier;
    std::chrono::steady_clock::duration m_pingEvery{};
    std::chrono::steady_clock::time_point m_lastPing;
    int m_signalFd = -1;
    int m_timerFd = -1;
    CWakeEvent m_wake;
    bool m_quit = false;
};
