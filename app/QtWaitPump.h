// CQtWaitPump: instrument waits that keep the window alive while the thread sleeps in Qt's loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>

#include "link/IWaitPump.h"
#include "link/WakeEvent.h"

class QSocketNotifier;

// Arms a notifier on the port and a precise timer for the deadline, then lets Qt dispatch
// events until at least one has been handled: bytes, the deadline, a repaint, a menu, Break.
class CQtWaitPump : public QObject, public IWaitPump {
    Q_OBJECT
public:
    // The clock must outlive the pump (the process's steady clock when none is given).
    explicit CQtWaitPump(const ISteadyClock* clock = nullptr, QObject* parent = nullptr);
    ~CQtWaitPump() override;

    Result Wait(int fd, ISteadyClock::TimePoint deadline) override;
    void RequestQuit() override;
    bool QuitRequested() const override { return m_quit.load(); }

    // Waits that have run, for tests and benchmarks.
    long long WaitCount() const { return m_waits; }

private:
    // The pump's own notifier for fd, or, for a wait started from an event handler inside
    // another wait, a fresh one so the outer wait keeps its own.
    QSocketNotifier* PortNotifier(int fd, std::unique_ptr<QSocketNotifier>& slot);
    static bool HungUp(int fd);

    const ISteadyClock* m_clock;
    std::atomic<bool> m_quit{false};
    CWakeEvent m_wake;  // signalled by RequestQuit; safe from signal handlers and threads
    std::unique_ptr<QSocketNotifier> m_wakeNotifier;
    std::unique_ptr<QSocketNotifier> m_portNotifier;
    QTimer m_deadlineTimer;
    int m_depth = 0;
    long long m_waits = 0;
};
