// The station's poll() loop: port, signals, wall-clock timer and the eventfd of a quit.
#include "station/StationPump.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "station/ServiceNotifier.h"

namespace {

timespec ToTimespec(std::chrono::nanoseconds ns) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns.count() / 1000000000);
    ts.tv_nsec = static_cast<long>(ns.count() % 1000000000);
    return ts;
}

bool HungUp(short revents) {
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

CStationPump::CStationPump(std::function<void(int)> onSignal, CServiceNotifier* notifier)
    : m_onSignal(std::move(onSignal)),
      m_notifier(notifier),
      m_lastPing(std::chrono::steady_clock::now()) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) == 0) {
        m_signalFd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    }
    m_timerFd = timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK);
    if (m_notifier != nullptr && m_notifier->WatchdogMicroseconds() > 0) {
        m_pingEvery = std::chrono::microseconds(m_notifier->WatchdogMicroseconds() / 2);
    }
}

CStationPump::~CStationPump() {
    for (int fd : {m_signalFd, m_timerFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void CStationPump::RequestQuit() {
    m_quit = true;
    m_wake.Signal();
}

bool CStationPump::DispatchSignals() {
    signalfd_siginfo info{};
    bool any = false;
    while (read(m_signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        any = true;
        m_onSignal(static_cast<int>(info.ssi_signo));
    }
    return any;
}

void CStationPump::FeedWatchdogIfDue() {
    const auto now = std::chrono::steady_clock::now();
    if (m_pingEvery.count() > 0 && now - m_lastPing >= m_pingEvery) {
        m_notifier->Watchdog();
        m_lastPing = now;
    }
}

IWaitPump::Result CStationPump::Wait(int fd, ISteadyClock::TimePoint deadline) {
    if (m_quit) {
        return Result::Quit;
    }
    auto now = std::chrono::steady_clock::now();
    if (deadline <= now) {
        return Result::Deadline;
    }
    // A long band move or exposure must not look like a hung station to the watchdog.
    auto until = deadline;
    if (m_pingEvery.count() > 0) {
        until = std::min(until, m_lastPing + m_pingEvery);
    }
    const timespec timeout = ToTimespec(std::max(until - now, std::chrono::nanoseconds(0)));
    pollfd fds[3] = {{fd, POLLIN, 0}, {m_signalFd, POLLIN, 0}, {m_wake.Fd(), POLLIN, 0}};
    const int n = ppoll(fds, 3, &timeout, nullptr);
    FeedWatchdogIfDue();
    if (n < 0 && errno != EINTR) {
        return Result::HangUp;
    }
    if (n > 0 && (fds[1].revents & POLLIN) != 0) {
        DispatchSignals();
    }
    if (m_quit) {
        return Result::Quit;
    }
    if (n > 0 && HungUp(fds[0].revents)) {
        return Result::HangUp;
    }
    return std::chrono::steady_clock::now() >= deadline ? Result::Deadline : Result::Ready;
}

IStationSleeper::Wake CStationPump::SleepUntil(int64_t t, int portFd) {
    // An absolute wall-clock timer: a slot is due at its clock time even when the clock is
    // set meanwhile, and setting the clock wakes the sleep so the station plans again.
    itimerspec at{};
    at.it_value.tv_sec = static_cast<time_t>(t);
    if (timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &at, nullptr) !=
        0) {
        return Wake::Time;
    }
    for (;;) {
        // Only a hang-up of the port matters here; the instruments send nothing unasked.
        pollfd fds[3] = {{m_timerFd, POLLIN, 0}, {m_signalFd, POLLIN, 0}, {portFd, 0, 0}};
        const int n = poll(fds, portFd >= 0 ? 3 : 2, -1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n > 0 && (fds[1].revents & POLLIN) != 0 && DispatchSignals()) {
            return Wake::Signal;
        }
        if (n > 0 && portFd >= 0 && HungUp(fds[2].revents)) {
            return Wake::HangUp;
        }
        uint64_t expirations = 0;
        // ECANCELED from the read: the clock was set.
        if (n <= 0 || read(m_timerFd, &expirations, sizeof expirations) > 0 || errno == ECANCELED) {
            return Wake::Time;
        }
    }
}
