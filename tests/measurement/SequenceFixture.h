// A document connected to scripted instruments, with fake clocks, displays and a hookable pump.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "Fakes.h"
#include "ScriptedInstrument.h"
#include "TestPumps.h"
#include "document/OrvelDoc.h"
#include "measurement/MeasurementSequence.h"

// Waits for real but skips silence: after a short while without bytes the steady clock jumps
// to the deadline. Before each wait it runs the test's hook, as the window's event dispatch
// would run a Break click or a timer tick.
class HookPump : public IWaitPump {
public:
    explicit HookPump(FakeClock& clock) : m_clock(clock) {}
    Result Wait(int fd, ISteadyClock::TimePoint deadline) override {
        if (hook) {
            hook();
        }
        if (m_quit) {
            return Result::Quit;
        }
        const Result result = PollReal(fd, 200);
        if (result == Result::Deadline) {
            m_clock.Set(deadline);
        }
        return result;
    }
    void RequestQuit() override { m_quit = true; }
    bool QuitRequested() const override { return m_quit; }
    std::function<void()> hook;

private:
    FakeClock& m_clock;
    bool m_quit = false;
};

class SequenceFixture : public ::testing::Test {
protected:
    SequenceFixture();
    ~SequenceFixture() override;

    // Requests the instruments received, without the presence checks' purges.
    std::vector<std::string> Requests() const { return instrument.Requests(); }
    std::string ReadLog() const;

    ScopedTimeZone zone{"Asia/Tokyo"};
    std::string folder;
    ScriptedInstrument instrument;
    FakeClock steady;
    HookPump pump{steady};
    FakeMessageBox messages;
    FakeHost host;
    std::unique_ptr<COrvelDoc> doc;
    FakeWallClock clock;
    FakeProgress progress;
    std::unique_ptr<CMeasurementSequence> sequence;
};
