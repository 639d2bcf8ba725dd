// CPollWaitPump: the headless wait pump, sleeping in poll() on the port and a wake-up descriptor.
#pragma once

#include <atomic>

#include "data/NonCopyable.h"
#include "link/IWaitPump.h"
#include "link/WakeEvent.h"

class CPollWaitPump : public IWaitPump, CNonCopyable {
public:
    // The clock must outlive the pump; it converts deadlines into poll() time-outs.
    explicit CPollWaitPump(const ISteadyClock* clock = nullptr);

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override;
    void RequestQuit() override;
    bool QuitRequested() const override { return m_quit.load(); }

private:
    const ISteadyClock* m_clock;
    std::atomic<bool> m_quit{false};
    CWakeEvent m_wake;  // signalled by RequestQuit so a sleeping poll() returns at once
};
