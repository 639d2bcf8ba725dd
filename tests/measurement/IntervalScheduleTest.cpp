// The daily grid of interval measurement: slot detection, display text, start and stop.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/OrvelDoc.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestFiles.h"

namespace {

class IntervalSchedule : public ::testing::Test {
protected:
    IntervalSchedule()
        : zone("Asia/Tokyo"),
          doc(temp.Path()),
          sequence(doc, progress, clock),
          scheduler(doc, sequence, display, events, clock, messages) {}

    void StartAt(int hour, int minute, int second, int month = 6, int day = 21) {
        clock.now = LocalStamp(2024, month, day, hour, minute, second);
        scheduler.StartInterval();
    }
    // Ticks once a second until the local clock shows the given time.
    void TickUntil(int hour, int minute, int second, int month = 6, int day = 21) {
        TickTo(LocalStamp(2024, month, day, hour, minute, second));
    }
    void TickTo(int64_t until) {
        while (clock.now < until) {
            ++clock.now;
            scheduler.OnTimer();
        }
    }

    ScopedTimeZone zone;
    TempFolder temp;
    COrvelDoc doc;
    FakeWallClock clock;
    FakeProgress progress;
    CMeasurementSequence sequence;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    FakeMessageBox messages;
    CIntervalScheduler scheduler;
};

}  // namespace

// No slot up to the second before the first one, whose time the display names; then exactly
// one, at it. The window opens at 06:00 (or 06:05, off the 10-minute grid).
TEST_F(IntervalSchedule, TheFirstSlotIsTheFirstGridPointInTheWindowAfterTheStart) {
    struct Case {
        int windowStart;
        int hour, minute, second;  // the start
        const char* lastQuiet;     // the display one second before the first slot
        int slotHour, slotMinute;
    };
    const Case cases[] = {
        {6 * 3600, 10, 3, 20, "Time 10:09:59\nNext 10:10:00", 10, 10},
        {6 * 3600, 5, 30, 0, "Time 05:59:59\nNext 06:00:00", 6, 0},
        {6 * 3600 + 5 * 60, 6, 0, 0, "Time 06:09:59\nNext 06:10:00", 6, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastQuiet);
        events.posted.clear();
        doc.m_intervalStart = c.windowStart;
        StartAt(c.hour, c.minute, c.second);
        EXPECT_TRUE(events.timerRunning);
        EXPECT_TRUE(display.visible);
        const int64_t slot = LocalStamp(2024, 6, 21, c.slotHour, c.slotMinute, 0);
        TickTo(slot - 1);
        EXPECT_TRUE(events.posted.empty());
        EXPECT_EQ(display.timeText, c.lastQuiet);
        TickTo(slot);
        EXPECT_EQ(events.posted, std::deque<int64_t>{slot});
        TickTo(slot + 1200);
        EXPECT_EQ(events.posted.size(), 3u);
    }
    EXPECT_EQ(display.timeText, "Time 06:30:00\nNext 06:40:00");
}

TEST_F(IntervalSchedule, TheWindowEndIsInclusiveAndTheNightWaitsForTheStart) {
    StartAt(18, 59, 0);
    TickUntil(19, 0, 0);
    ASSERT_EQ(events.posted.size(), 1u);
    EXPECT_EQ(events.posted[0], LocalStamp(2024, 6, 21, 19, 0, 0));
    TickUntil(19, 0, 1);
    EXPECT_EQ(display.timeText, "Time 19:00:01\nNext 06:00:00");
    TickUntil(23, 59, 59);
    EXPECT_EQ(events.posted.size(), 1u);
}

TEST_F(IntervalSchedule, AWindowWhoseStartFollowsItsEndNeverMeasures) {
    doc.m_intervalStart = 20 * 3600;
    doc.m_intervalEnd = 6 * 3600;
    StartAt(5, 0, 0);
    TickUntil(7, 0, 0);
    StartAt(19, 50, 0);
    TickUntil(21, 0, 0);
    EXPECT_TRUE(events.posted.empty());
    EXPECT_EQ(display.timeText, "Time 21:00:00\nNext 20:00:00");
}

TEST_F(IntervalSchedule, APeriodOfZeroMeasuresNothing) {
    doc.m_intervalPeriod = 0;
    StartAt(10, 0, 0);
    TickUntil(10, 30, 0);
    EXPECT_TRUE(events.posted.empty());
    EXPECT_EQ(display.timeText, "Time 10:30:00\nNext 06:00:00");
}

TEST_F(IntervalSchedule, SlotsFollowLocalTimeAcrossADaylightSavingChange) {
    ScopedTimeZone berlin("Europe/Berlin");
    doc.m_intervalStart = 0;
    doc.m_intervalEnd = 86399;
    doc.m_intervalPeriod = 3600;
    StartAt(0, 30, 0, 3, 31);
    TickUntil(4, 0, 0, 3, 31);  // 02:00 does not exist on this day
    ASSERT_EQ(events.posted.size(), 3u);
    EXPECT_EQ(events.posted[0], LocalStamp(2024, 3, 31, 1, 0, 0));
    EXPECT_EQ(events.posted[1], LocalStamp(2024, 3, 31, 3, 0, 0));
    EXPECT_EQ(events.posted[1] - events.posted[0], 3600);  // one real hour apart
    EXPECT_EQ(events.posted[2] - events.posted[1], 3600);
}

TEST_F(IntervalSchedule, FileNamesFollowTheLocalDateOfTheSlot) {
    doc.m_dataFolder = "/data/station";                      // no trailing separator
    const int64_t slot = LocalStamp(2024, 6, 21, 0, 30, 0);  // 20 June in UTC
    EXPECT_EQ(scheduler.DataFilePath(slot), "/data/station/VS20240621.wsx");
    EXPECT_EQ(scheduler.TextFilePath(slot), "/data/station/20240621.txt");
    doc.m_autoFileName = 0;
    doc.m_intervalFile = "/data/mine.wsx";
    EXPECT_EQ(scheduler.DataFilePath(slot), "/data/mine.wsx");
    EXPECT_EQ(scheduler.TextFilePath(slot), "/data/station/20240621.txt");
}
