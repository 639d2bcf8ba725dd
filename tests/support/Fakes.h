// Fakes of the window-system interfaces for headless sequence and schedule tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "document/IDocumentHost.h"
#include "document/IPortChooser.h"
#include "link/IMessageBox.h"
#include "measurement/IClock.h"
#include "measurement/IIntervalDisplay.h"
#include "measurement/IProgressDisplay.h"
#include "measurement/IViewEvents.h"
#include "tests/support/ScopedTimeZone.h"

// A clock that stands still until the test moves it; the simulator's thread may read it.
class FakeWallClock : public IClock {
public:
    FakeWallClock() = default;
    explicit FakeWallClock(int64_t t) : now(t) {}
    int64_t Now() const override { return now.load(); }
    void Set(int64_t t) { now = t; }
    std::atomic<int64_t> now{0};
};

class FakeProgress : public IProgressDisplay {
public:
    void SetMessage(const std::string& text) override {
        messages.push_back(text);
        if (onMessage) {
            onMessage(text);
        }
    }
    void Show() override {
        visible = true;
        ++shows;
    }
    void Hide() override { visible = false; }
    std::vector<std::string> messages;
    std::function<void(const std::string&)> onMessage;  // as the user sees the text change
    bool visible = false;
    int shows = 0;
};

class FakeIntervalDisplay : public IIntervalDisplay {
public:
    void SetTimeText(const std::string& text) override { timeText = text; }
    void SetStatusText(const std::string& text) override { statusText = text; }
    void Show() override {
        visible = true;
        topmost = true;
    }
    void SetTopmost(bool on) override { topmost = on; }
    void Hide() override { visible = false; }
    std::string timeText;
    std::string statusText = "(unset)";
    bool visible = false;
    bool topmost = false;
};

class FakeViewEvents : public IViewEvents {
public:
    void StartTimer() override { timerRunning = true; }
    void KillTimer() override { timerRunning = false; }
    void PostIntervalMeasure(int64_t t) override { posted.push_back(t); }
    void MeasurementEnded() override { ++measurementsEnded; }
    void CommandStateChanged() override { ++stateChanges; }
    bool timerRunning = false;
    std::deque<int64_t> posted;
    int measurementsEnded = 0;
    int stateChanges = 0;
};

// One second of interval measurement: the clock moves on, the timer ticks and every slot it
// posted is measured, oldest first. Target is the scheduler or the controller. Returns the
// number of slots measured.
template <typename Target>
int TickAndMeasure(FakeWallClock& clock, FakeViewEvents& events, Target& target) {
    clock.now += 1;
    target.OnTimer();
    int measured = 0;
    while (!events.posted.empty()) {
        const int64_t slot = events.posted.front();
        events.posted.pop_front();
        target.OnIntervalMeasure(slot);
        ++measured;
    }
    return measured;
}

class FakeMessageBox : public IMessageBox {
public:
    Answer Show(const std::string& text, Buttons) override {
        shown.push_back(text);
        if (answers.empty()) {
            return Answer::Ok;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> shown;
    std::deque<Answer> answers;
};

class FakeHost : public IDocumentHost {
public:
    void SetTitle(const std::string& t) override { title = t; }
    void SetModifiedFlag(bool m) override { modified = m; }
    void UpdateAllViews() override { ++redraws; }
    std::string title;
    bool modified = false;
    int redraws = 0;
};

class FakePortChooser : public IPortChooser {
public:
    bool ChoosePort(int& port) override {
        ++shown;
        if (choices.empty()) {
            return false;
        }
        port = choices.front();
        choices.pop_front();
        return true;
    }
    std::deque<int> choices;
    int shown = 0;
};

// Local time in the zone of TZ: seconds since 1970 of a calendar date and time.
int64_t LocalStamp(int year, int month, int day, int hour, int minute, int second = 0);
