// The Qt wait pump: wakes for deadlines, quit requests and hang-ups, and keeps the program's
// events flowing while it sleeps. Waking for bytes is what every end-to-end exchange does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/QtWaitPump.h"
#include "tests/support/qt/AppHarness.h"

using namespace apptest;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

struct Pipe {
    Pipe() { EXPECT_EQ(pipe2(fds, O_NONBLOCK), 0); }
    ~Pipe() {
        close(fds[0]);
        close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

// Waits as the link does: again and again until something other than Ready comes back.
IWaitPump::Result WaitUntilSettled(CQtWaitPump& pump, int fd, Clock::time_point deadline) {
    for (;;) {
        const IWaitPump::Result result = pump.Wait(fd, deadline);
        if (result != IWaitPump::Result::Ready) {
            return result;
        }
    }
}

class QtWaitPump : public ::testing::Test {
protected:
    QApplication& application = Application();
    CQtWaitPump pump;
    Pipe p;
};

}  // namespace

// While it sleeps, the program's timers and posted events keep running.
TEST_F(QtWaitPump, DeadlineIsNeverReportedEarlyAndEventsFlowMeanwhile) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    bool posted = false;
    QMetaObject::invokeMethod(
        &timer, [&posted] { posted = true; }, Qt::QueuedConnection);
    for (int ms : {1, 30, 120}) {
        const auto deadline = Clock::now() + milliseconds(ms);
        EXPECT_EQ(WaitUntilSettled(pump, p.fds[0], deadline), IWaitPump::Result::Deadline);
        EXPECT_GE(Clock::now(), deadline) << ms;
    }
    EXPECT_EQ(pump.Wait(p.fds[0], Clock::now() - milliseconds(1)), IWaitPump::Result::Deadline);
    EXPECT_TRUE(posted);
    EXPECT_GE(ticks, 1);
}

TEST_F(QtWaitPump, QuitFromAnotherThreadEndsTheWaitAndEveryLaterOne) {
    // Started from inside the wait, so the quit comes while it runs.
    std::thread quitter;
    QTimer::singleShot(20, [&] { quitter = std::thread([this] { pump.RequestQuit(); }); });
    EXPECT_EQ(WaitUntilSettled(pump, p.fds[0], Clock::now() + milliseconds(60000)),
              IWaitPump::Result::Quit);
    if (quitter.joinable()) {
        quitter.join();
    }
    EXPECT_TRUE(pump.QuitRequested());
    EXPECT_EQ(pump.Wait(p.fds[0], Clock::now() + milliseconds(1000)), IWaitPump::Result::Quit);
}

TEST_F(QtWaitPump, ReportsHangUpWhenTheDeviceGoes) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    QTimer::singleShot(20, [&master] { close(master); });
    EXPECT_EQ(WaitUntilSettled(pump, slave, Clock::now() + milliseconds(5000)),
              IWaitPump::Result::HangUp);
    close(slave);
}

TEST_F(QtWaitPump, AWaitInsideAnotherKeepsTheOuterDeadline) {
    Pipe inner;
    IWaitPump::Result innerResult = IWaitPump::Result::Ready;
    QTimer::singleShot(10, [&] {
        innerResult = WaitUntilSettled(pump, inner.fds[0], Clock::now() + milliseconds(30));
    });
    const auto deadline = Clock::now() + milliseconds(150);
    EXPECT_EQ(WaitUntilSettled(pump, p.fds[0], deadline), IWaitPump::Result::Deadline);
    EXPECT_EQ(innerResult, IWaitPump::Result::Deadline);
    EXPECT_GE(Clock::now(), deadline);
}
