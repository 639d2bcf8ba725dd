// The measurement controller: command enabling, the close decision, auto-start and events.
#include <gtest/gtest.h>

#include "measurement/MeasurementController.h"
#include "tests/support/SequenceFixture.h"

namespace {

class Controller : public SequenceFixture {
protected:
    Controller() {
        EXPECT_EQ(doc->SetupInstruments(), 1);
        clock.now = LocalStamp(2024, 6, 21, 12, 0, 0);
    }
    CMeasurementController& Make() {
        controller = std::make_unique<CMeasurementController>(*doc, progress, display, events,
                                                              clock, messages);
        return *controller;
    }

    FakeIntervalDisplay display;
    FakeViewEvents events;
    std::unique_ptr<CMeasurementController> controller;
};

}  // namespace

TEST_F(Controller, ExecuteIntervalAndNewFollowThePortTheSequenceAndTheSchedule) {
    struct Case {
        bool portOpen, measuring, intervalOn;
        bool execute, interval, replace;
    };
    const Case cases[] = {
        {true, false, false, true, true, true},    {true, true, false, false, true, false},
        {true, false, true, false, false, true},   {true, true, true, false, false, false},
        {false, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        CMeasurementController& control = Make();
        if (!c.portOpen) {
            doc->m_link.ClosePort();
        }
        control.m_sequence.m_measuring = c.measuring ? 1 : 0;
        if (c.intervalOn) {
            control.m_scheduler.StartInterval();
        }
        EXPECT_EQ(control.CanMeasureNow(), c.execute) << c.portOpen << c.measuring << c.intervalOn;
        EXPECT_EQ(control.CanStartInterval(), c.interval) << c.portOpen << c.intervalOn;
        EXPECT_EQ(control.CanReplaceDocument(), c.replace) << c.measuring;
        control.m_sequence.m_measuring = 0;
    }
}

// The schedule starts from the clock of the first update: the current second is not a slot.
TEST_F(Controller, AutoStartStartsTheScheduleAtTheFirstUpdate) {
    for (int autoStart : {0, 1}) {
        doc->m_autoStart = autoStart;
        CMeasurementController& control = Make();
        control.OnInitialUpdate();
        EXPECT_EQ(control.IsIntervalOn(), autoStart == 1);
        EXPECT_EQ(events.timerRunning, autoStart == 1);
        EXPECT_EQ(control.m_scheduler.m_lastSecond, autoStart == 1 ? 12 * 3600 : 0);
        control.StopIntervalWithoutQuestion();
    }
}

// Closing asks only while the schedule runs, with the question Interval Break asks. Cancel keeps
// the schedule running with its dialog on top; OK stops it, hides the dialog and tells the frame.
TEST_F(Controller, StoppingTheScheduleAsksAndCancelKeepsItRunning) {
    CMeasurementController& control = Make();
    EXPECT_TRUE(control.QueryClose());
    control.m_scheduler.StartInterval();
    messages.answers = {IMessageBox::Answer::Cancel, IMessageBox::Answer::Cancel};
    EXPECT_FALSE(control.QueryClose());
    control.OnIntervalBreak();
    EXPECT_TRUE(control.IsIntervalOn());
    EXPECT_TRUE(events.timerRunning && display.topmost && display.visible);
    EXPECT_EQ(events.stateChanges, 1);  // Interval Break tells the frame whatever the answer

    EXPECT_TRUE(control.QueryClose());
    EXPECT_FALSE(control.IsIntervalOn());
    EXPECT_FALSE(events.timerRunning || display.visible || display.topmost);
    EXPECT_EQ(events.stateChanges, 2);
    control.m_scheduler.StartInterval();
    control.OnIntervalBreak();
    EXPECT_FALSE(control.IsIntervalOn() || events.timerRunning || display.visible);
    EXPECT_EQ(events.stateChanges, 3);
    EXPECT_EQ(messages.shown, (std::vector<std::string>(4, "Stop Interval Measurement.")));

    control.m_scheduler.StartInterval();
    control.StopIntervalWithoutQuestion();
    EXPECT_FALSE(control.IsIntervalOn());
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(events.stateChanges, 4);
}

TEST_F(Controller, ExecuteMeasuresNowAndReportsTheEnd) {
    CMeasurementController& control = Make();
    EXPECT_EQ(control.MeasureNow(), 1);
    EXPECT_EQ(events.measurementsEnded, 1);
    ASSERT_EQ(doc->m_radData.GetSize(), 1);
    EXPECT_EQ(doc->m_radData.GetRecord(0)->measTime, static_cast<int32_t>(clock.now));
    EXPECT_FALSE(control.IsMeasuring());
}
