// CPollWaitPump: the headless wait pump, sleeping in poll() on the port and a wake-up descriptor.
#pragma once

#include <atomic>

#include "link/IWaitPump.h"

class CPollWaitPump : public IWaitPump {
public:
    // The clock must outlive the pump; it converts deadlines into poll() time-outs.
    explicit CPollWaitPump(const ISteadyClock* clock = nullptr);
    ~CPollWaitPump() override;
    CPollWaitPump(const CPollWaitPump&) = delete;
    CPollWaitPump& operator=(const CPollWaitPump&) = delete;

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override;
    void RequestQuit() override;
    bool QuitRequested() const override { return m_quit.load(); }

private:
    const ISteadyClock* m_clock;
    std::atomic<bool> m_quit{false};
    int m_wakeFd = -1;  // eventfd written by RequestQuit so a sleeping poll() returns at once
};
