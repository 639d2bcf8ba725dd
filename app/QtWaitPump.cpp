// CQtWaitPump: instrument waits that keep the window alive while the thread sleeps in Qt's loop.
#include "app/QtWaitPump.h"

#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

#include "link/SteadyClock.h"

CQtWaitPump::CQtWaitPump(const ISteadyClock* clock, QObject* parent)
    : QObject(parent), m_clock(clock != nullptr ? clock : &CSteadyClock::Instance()), m_wake() {
    if (m_wake.Ok()) {
        m_wakeNotifier = std::make_unique<QSocketNotifier>(m_wake.Fd(), QSocketNotifier::Read);
        connect(m_wakeNotifier.get(), &QSocketNotifier::activated, this,
                [this] { m_wake.Drain(); });
    }
    // The default coarse timer may fire a 5000 ms deadline 250 ms early.
    m_deadlineTimer.setTimerType(Qt::PreciseTimer);
    m_deadlineTimer.setSingleShot(true);
}

CQtWaitPump::~CQtWaitPump() {
    m_wakeNotifier.reset();
    m_portNotifier.reset();
}

void CQtWaitPump::RequestQuit() {
    m_quit.store(true);
    m_wake.Signal();
}

QSocketNotifier* CQtWaitPump::PortNotifier(int fd, std::unique_ptr<QSocketNotifier>& slot) {
    if (!slot || slot->socket() != fd) {
        slot = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    }
    return slot.get();
}

bool CQtWaitPump::HungUp(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

IWaitPump::Result CQtWaitPump::Wait(int fd, ISteadyClock::TimePoint deadline) {
    if (m_quit.load()) {
        return Result::Quit;
    }
    const auto remaining = deadline - m_clock->Now();
    if (remaining <= ISteadyClock::TimePoint::duration::zero()) {
        return Result::Deadline;
    }
    ++m_waits;

    const bool nested = m_depth > 0;
    std::unique_ptr<QSocketNotifier> nestedNotifier;
    std::unique_ptr<QTimer> nestedTimer;
    QTimer* timer = &m_deadlineTimer;
    if (nested) {
        nestedTimer = std::make_unique<QTimer>();
        nestedTimer->setTimerType(Qt::PreciseTimer);
        nestedTimer->setSingleShot(true);
        timer = nestedTimer.get();
    }
    // Whole milliseconds rounded up, so the timer never wakes the wait before its deadline.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    timer->start(static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max())));

    bool signalled = false;
    QSocketNotifier* notifier = nullptr;
    QMetaObject::Connection connection;
    if (fd >= 0) {
        notifier = PortNotifier(fd, nested ? nestedNotifier : m_portNotifier);
        connection = connect(notifier, &QSocketNotifier::activated, this, [&signalled, notifier] {
            signalled = true;
            // Level-triggered: left armed, unread bytes would wake the loop for ever.
            notifier->setEnabled(false);
        });
        notifier->setEnabled(true);
    }

    ++m_depth;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    --m_depth;

    if (notifier != nullptr) {
        notifier->setEnabled(false);
        disconnect(connection);
    }
    timer->stop();
    if (m_quit.load()) {
        return Result::Quit;
    }
    if (signalled && HungUp(fd)) {
        return Result::HangUp;
    }
    return m_clock->Now() >= deadline ? Result::Deadline : Result::Ready;
}
