// CPollWaitPump: the headless wait pump, sleeping in poll() on the port and a wake-up descriptor.
#include "link/PollWaitPump.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "link/SteadyClock.h"

CPollWaitPump::CPollWaitPump(const ISteadyClock* clock)
    : m_clock(clock != nullptr ? clock : &CSteadyClock::Instance()), m_wake() {}

void CPollWaitPump::RequestQuit() {
    m_quit.store(true);
    m_wake.Signal();
}

IWaitPump::Result CPollWaitPump::Wait(int fd, ISteadyClock::TimePoint deadline) {
    if (m_quit.load()) {
        return Result::Quit;
    }
    const auto remaining = deadline - m_clock->Now();
    if (remaining <= ISteadyClock::TimePoint::duration::zero()) {
        return Result::Deadline;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining).count();
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
    timeout.tv_nsec = static_cast<long>(ns % 1000000000);

    pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake.Fd(), POLLIN, 0}};
    const int n = ppoll(fds, 2, &timeout, nullptr);
    if (m_quit.load()) {
        return Result::Quit;
    }
    if (n < 0) {
        // EINTR: a signal was handled; the caller looks at the port and the clock again.
        return errno == EINTR ? Result::Ready : Result::HangUp;
    }
    if (n == 0) {
        return m_clock->Now() >= deadline ? Result::Deadline : Result::Ready;
    }
    if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        return Result::HangUp;
    }
    return Result::Ready;
}
