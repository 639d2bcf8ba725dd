// The service manager's notification datagrams (the sd_notify protocol over a Unix socket).
#include "station/ServiceNotifier.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

CServiceNotifier::CServiceNotifier() {
    const char* socketPath = std::getenv("NOTIFY_SOCKET");
    if (socketPath != nullptr && (socketPath[0] == '/' || socketPath[0] == '@') &&
        std::strlen(socketPath) < sizeof(sockaddr_un::sun_path)) {
        m_socketPath = socketPath;
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    }
    const char* usec = std::getenv("WATCHDOG_USEC");
    const char* pid = std::getenv("WATCHDOG_PID");
    // A watchdog meant for another process (a parent that started us) is not ours to ping.
    const bool ours = pid == nullptr || std::strtoll(pid, nullptr, 10) == ::getpid();
    if (usec != nullptr && ours) {
        m_watchdogUsec = std::max<int64_t>(0, std::strtoll(usec, nullptr, 10));
    }
}

CServiceNotifier::~CServiceNotifier() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CServiceNotifier::Send(const std::string& message) {
    if (m_fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_socketPath.data(), m_socketPath.size());
    socklen_t length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + m_socketPath.size());
    if (m_socketPath[0] == '@') {
        address.sun_path[0] = '\0';
    } else {
        ++length;  // the terminating NUL of a path
    }
    return ::sendto(m_fd, message.data(), message.size(), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&address),
                    length) == static_cast<ssize_t>(message.size());
}

void CServiceNotifier::Ready(const std::string& status) {
    Send("READY=1\nSTATUS=" + status);
}

void CServiceNotifier::Status(const std::string& status) {
    Send("STATUS=" + status);
}

void CServiceNotifier::Watchdog() {
    if (m_watchdogUsec > 0) {
        Send("WATCHDOG=1");
    }
}

void CServiceNotifier::Stopping() {
    Send("STOPPING=1");
}
