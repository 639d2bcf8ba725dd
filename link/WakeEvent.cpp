// The wake-up eventfd of the wait pumps.
#include "link/WakeEvent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

CWakeEvent::CWakeEvent() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CWakeEvent::~CWakeEvent() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void CWakeEvent::Signal() const {
    if (m_fd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(m_fd, &one, sizeof one);
    }
}

void CWakeEvent::Drain() const {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(m_fd, &count, sizeof count);
}
