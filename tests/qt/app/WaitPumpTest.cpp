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
#include <vector>

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

// While it sleeps, the program's timers and posted events keep running; a wait started inside
// one of them ends at its own deadline and leaves the outer one its own.
TEST_F(QtWaitPump, DeadlinesAreNeverReportedEarlyAndEventsFlowMeanwhile) {
    bool ticked = false;
    QTimer::singleShot(40, [&ticked] { ticked = true; });
    Pipe inner;
    std::vector<IWaitPump::Result> innerResults;
    const auto innerWaits = [&] {
        for (int ms : {1, 30}) {
            const auto deadline = Clock::now() + milliseconds(ms);
            innerResults.push_back(WaitUntilSettled(pump, inner.fds[0], deadline));
            EXPECT_GE(Clock::now(), deadline) << ms;
        }
    };
    QMetaObject::invokeMethod(&application, innerWaits, Qt::QueuedConnection);
    const auto deadline = Clock::now() + milliseconds(150);
    EXPECT_EQ(WaitUntilSettled(pump, p.fds[0], deadline), IWaitPump::Result::Deadline);
    EXPECT_GE(Clock::now(), deadline);
    EXPECT_EQ(innerResults, std::vector(2, IWaitPump::Result::Deadline));
    EXPECT_TRUE(ticked);
    EXPECT_EQ(pump.Wait(p.fds[0], Clock::now() - milliseconds(1)), IWaitPump::Result::Deadline);
}

// The device going away ends the wait; so does a quit from another thread, and every later wait.
TEST_F(QtWaitPump, AHangUpOrAQuitFromAnotherThreadEndsTheWait) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    QTimer::singleShot(20, [&master] { close(master); });
    EXPECT_EQ(WaitUntilSettled(pump, slave, Clock::now() + milliseconds(5000)),
              IWaitPump::Result::HangUp);
    close(slave);
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
