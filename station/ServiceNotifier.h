// CServiceNotifier: tells systemd how the station is (READY, WATCHDOG, STOPPING, STATUS).
#pragma once

#include <cstdint>
#include <string>

#include "data/NonCopyable.h"

class CServiceNotifier : CNonCopyable {
public:
    // Reads $NOTIFY_SOCKET, $WATCHDOG_USEC and $WATCHDOG_PID; without them (not started by
    // systemd) every message is dropped silently.
    CServiceNotifier();
    ~CServiceNotifier();

    bool Enabled() const { return !m_socketPath.empty(); }
    // The watchdog's interval in microseconds (0: no watchdog); pings are due at half of it.
    int64_t WatchdogMicroseconds() const { return m_watchdogUsec; }

    void Ready(const std::string& status);
    void Status(const std::string& status);
    void Watchdog();
    void Stopping();
    // One datagram of "KEY=VALUE" lines; false when it could not be sent.
    bool Send(const std::string& message);

private:
    std::string m_socketPath;  // '@' first stands for the abstract namespace
    int m_fd = -1;
    int64_t m_watchdogUsec = 0;
};
