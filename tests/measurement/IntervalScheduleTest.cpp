// The daily grid of interval measurement: slot detection, display text, start and stop.
#include <gtest/gtest.h>

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

    // Starts the schedule at `from` and ticks once a second until the clock shows `to`; a slot
    // must be posted at the tick that reaches it.
    void Run(int64_t from, int64_t to) {
        events.posted.clear();
        clock.now = from;
        scheduler.StartInterval();
        EXPECT_TRUE(events.timerRunning && display.visible);
        while (clock.now < to) {
            ++clock.now;
            const size_t posted = events.posted.size();
            scheduler.OnTimer();
            if (events.posted.size() != posted) {
                EXPECT_EQ(events.posted.back(), clock.Now());
            }
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

// Seconds of the day of a time written hhmmss.
constexpr int64_t Sec(int hhmmss) {
    return hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
}

}  // namespace

// The slots are the grid points of the period inside the window, its end included, each posted
// at the tick that reaches it; outside the window the display names the window start as next.
TEST_F(IntervalSchedule, SlotsAreTheGridPointsInsideTheWindow) {
    struct Case {
        int windowStart, windowEnd, period;  // hhmmss, hhmmss, seconds
        int from, to;                        // the run on 21 June, hhmmss
        int firstSlot, slots;                // hhmmss, how many
        const char* display;                 // at `to`
    };
    const Case cases[] = {
        {60000, 190000, 600, 100320, 103000, 101000, 3, "Time 10:30:00\nNext 10:40:00"},
        {60000, 190000, 600, 53000, 62000, 60000, 3, "Time 06:20:00\nNext 06:30:00"},
        {60500, 190000, 600, 60000, 63000, 61000, 3, "Time 06:30:00\nNext 06:40:00"},
        {60000, 190000, 600, 185900, 235959, 190000, 1, "Time 23:59:59\nNext 06:00:00"},
        // A window whose start follows its end never measures.
        {200000, 60000, 600, 50000, 210000, 0, 0, "Time 21:00:00\nNext 20:00:00"},
        {60000, 190000, 0, 100000, 103000, 0, 0, "Time 10:30:00\nNext 06:00:00"},
    };
    const int64_t midnight = LocalStamp(2024, 6, 21, 0, 0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        doc.m_intervalStart = Sec(c.windowStart);
        doc.m_intervalEnd = Sec(c.windowEnd);
        doc.m_intervalPeriod = c.period;
        Run(midnight + Sec(c.from), midnight + Sec(c.to));
        std::deque<int64_t> slots;
        for (int k = 0; k < c.slots; ++k) {
            slots.push_back(midnight + Sec(c.firstSlot) + k * c.period);
        }
        EXPECT_EQ(events.posted, slots);
        EXPECT_EQ(display.timeText, c.display);
    }
}

TEST_F(IntervalSchedule, SlotsFollowLocalTimeAcrossADaylightSavingChange) {
    ScopedTimeZone berlin("Europe/Berlin");
    doc.m_intervalStart = 0;
    doc.m_intervalEnd = 86399;
    doc.m_intervalPeriod = 3600;
    // 02:00 does not exist on this day: 01:00, 03:00 and 04:00 are one real hour apart.
    const int64_t one = LocalStamp(2024, 3, 31, 1, 0, 0);
    Run(LocalStamp(2024, 3, 31, 0, 30, 0), LocalStamp(2024, 3, 31, 4, 0, 0));
    EXPECT_EQ(events.posted, (std::deque<int64_t>{one, one + 3600, one + 7200}));
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
