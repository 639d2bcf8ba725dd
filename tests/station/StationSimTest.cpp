// The station against the simulated instruments on a simulated clock: a day of slots with a
// reload, failing set-up and a lost port, stop, and the same files as the window program's path.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "station/StationStatus.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/StationRig.h"

namespace {

int64_t Today(int hour, int minute, int second = 0) {
    return LocalStamp(2024, 6, 21, hour, minute, second);
}

CStationStatus StatusOf(CStation& station) {
    CStationStatus status;
    status.ReadFile(station.StatusPath());
    return status;
}

// Adds the slot times from first to last (inclusive) every period seconds.
void AddSlots(std::vector<int64_t>& slots, int64_t first, int64_t last, int64_t period) {
    for (int64_t t = first; t <= last; t += period) {
        slots.push_back(t);
    }
}

// The window program's path on the rig's simulator and clocks: the scheduler ticked every
// second as the view's timer ticks it, each posted slot measured and written.
void RunWindowProgramPath(StationRig& rig, int64_t until, const SIMFAULTS& faults) {
    ASSERT_TRUE(rig.simulator->Start()) << rig.simulator->Error();
    COrvelDoc doc(rig.folder);
    FakeMessageBox messages;
    doc.SetMessageBox(&messages);
    doc.m_link.SetPortMap(CPortMap(rig.folder + "ports"));
    doc.m_link.SetWaitPump(&rig.pump);  // a block refused with "ERR" costs no real time-out
    doc.m_link.SetClock(&rig.steady);
    FakePortChooser chooser;
    ASSERT_TRUE(doc.OnNewDocument(chooser));
    rig.simulator->SetFaults(faults);
    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    CMeasurementSequence sequence(doc, progress, rig.clock);
    CIntervalScheduler scheduler(doc, sequence, display, events, rig.clock, messages);
    scheduler.StartInterval();
    while (rig.clock.now < until) {
        TickAndMeasure(rig.clock, events, scheduler);
    }
}

}  // namespace

class StationSim : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Europe/Helsinki"};
    TempFolder dir;
};

// The default settings (every 10 minutes from 06:00 to 19:00) until SIGHUP at 08:05 reloads
// "Orvel.cfg" with a 5-minute period, which the next slot already follows.
TEST_F(StationSim, ADayOfSlotsWithAReloadIsMeasuredWithAtMostTwoWakeUpsAMinute) {
    StationRig rig(dir.Path(), Today(5, 58), {});
    rig.sleeper.At(Today(8, 5), [&] {
        StationRig::WriteSettings(dir.Path(), {6 * 3600, 19 * 3600, 300, 25.0, 60.0});
        rig.Station().OnSignal(SIGHUP);
    });

    EXPECT_EQ(rig.RunUntil(Today(19, 5)), 0);

    std::vector<int64_t> slots;
    AddSlots(slots, Today(6, 0), Today(8, 0), 600);
    AddSlots(slots, Today(8, 10), Today(19, 0), 300);
    EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"), slots);
    const auto count = static_cast<int64_t>(slots.size());
    EXPECT_EQ(Occurrences(ReadFileBytes(dir.Path() + "20240621.txt"), "YYYYMMDDHHMMSS"), count);
    std::map<int64_t, int> wakesPerMinute;
    for (int64_t wake : rig.sleeper.wakes) {
        EXPECT_LE(++wakesPerMinute[wake / 60], 2) << wake;
    }
    const CStationStatus status = StatusOf(rig.Station());
    EXPECT_EQ(status.due, count);
    EXPECT_EQ(status.measured, count);
    EXPECT_EQ(status.missed, 0);
    EXPECT_EQ(status.lastResult, "measured");
    EXPECT_GT(status.par, 0.0);
    EXPECT_EQ(status.period, 300);
    const std::string log = rig.LogText();
    EXPECT_EQ(Occurrences(log, " measured: exposures "), count);
    EXPECT_EQ(Occurrences(log, "Orvel.cfg reloaded"), 1);
    // The evening slot homes the band and parks it; the stop adds no move.
    EXPECT_EQ(rig.simulator->Requests().back(), "#MP,135.00000,0");
}

TEST_F(StationSim, SameSlotsWriteTheSameFilesAsTheWindowProgram) {
    const RigSettings settings{6 * 3600, 8 * 3600, 600, 25.0, 60.0};
    const SIMFAULTS faults{.err = 0.04};  // failed attempts, so log.txt has lines to compare
    TempFolder windowHome;
    StationRig window(windowHome.Path(), Today(5, 59), settings);
    RunWindowProgramPath(window, Today(8, 0, 30), faults);

    StationRig rig(dir.Path(), Today(5, 59), settings);
    rig.sleeper.onEachSleep = [&rig, &faults] { rig.simulator->SetFaults(faults); };
    EXPECT_EQ(rig.RunUntil(Today(8, 0, 30)), 0);

    for (const char* name : {"VS20240621.wsx", "20240621.txt", "log.txt"}) {
        const std::string expected = ReadFileBytes(windowHome.Path() + name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_TRUE(ReadFileBytes(dir.Path() + name) == expected) << name << " differs";
    }
}

// The band is off at start-up until 05:53, and the adapter is pulled in the 06:10 slot, after its
// first position, and back at 06:15: each time the retries wait 30, 60, 120 and then 240 s, and
// each slot missed meanwhile is logged once.
TEST_F(StationSim, FailedSetUpAndALostPortAreRetriedAndEachMissedSlotLoggedOnce) {
    StationRig rig(dir.Path(), Today(5, 50), {6 * 3600, 7 * 3600, 60, 25.0, 60.0});
    rig.simulator->SetFaults({.bandOff = true});
    rig.sleeper.At(Today(5, 53), [&rig] { rig.simulator->SetFaults({}); });
    // After the 06:09 slot has parked the band, band moves go unanswered, so the 06:10 slot has
    // to wait once its first move has gone out, however fast the other replies come; the
    // adapter is pulled in that wait (or the next one).
    size_t slotStart = 0;
    rig.sleeper.At(Today(6, 9, 30), [&] {
        slotStart = rig.simulator->Requests().size();
        rig.simulator->SetFaults({.ignored = {"#MP"}});
    });
    rig.pump.hook = [&] {
        if (!rig.simulator->Running() || rig.clock.now != Today(6, 10)) {
            return;
        }
        const std::vector<std::string> requests = rig.simulator->Requests();
        if (std::any_of(requests.begin() + static_cast<std::ptrdiff_t>(slotStart), requests.end(),
                        [](const std::string& r) { return r.starts_with("#MP"); })) {
            rig.simulator->SetFaults({});
            rig.simulator->Stop();
        }
    };
    rig.sleeper.At(Today(6, 15), [&rig] { ASSERT_TRUE(rig.simulator->Start()); });
    std::set<std::string> states;
    rig.sleeper.onEachSleep = [&] { states.insert(StatusOf(rig.Station()).state); };

    EXPECT_EQ(rig.RunUntil(Today(7, 0, 30)), 0);

    // The slot the port was lost in keeps the position measured before (positions-failed).
    std::vector<int64_t> slots;
    AddSlots(slots, Today(6, 0), Today(6, 10), 60);
    AddSlots(slots, Today(6, 18), Today(7, 0), 60);
    EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"), slots);
    const std::set<int64_t> wakes(rig.sleeper.wakes.begin(), rig.sleeper.wakes.end());
    for (int64_t retry : {Today(5, 50, 30), Today(5, 51, 30), Today(5, 53, 30), Today(6, 10, 30),
                          Today(6, 11, 30), Today(6, 13, 30), Today(6, 17, 30)}) {
        EXPECT_TRUE(wakes.contains(retry)) << retry;
    }
    const std::string log = rig.LogText();
    EXPECT_EQ(Occurrences(log, "set-up failed"), 6);
    EXPECT_EQ(Occurrences(log, "disconnected: "), 1);
    // The retries and the slots missed meanwhile in the log's order: the set-up's, then the lost
    // port's. Seven missed lines in all: each missed slot once.
    size_t at = 0;
    for (const char* text :
         {"next try in 30 s", "next try in 60 s", "next try in 120 s", "instruments ready",
          "disconnected: the port was lost during the slot; next try in 30 s", "next try in 60 s",
          "06:11:00 missed", "next try in 120 s", "06:12:00 missed", "06:13:00 missed",
          "next try in 240 s", "06:14:00 missed", "06:15:00 missed", "06:16:00 missed",
          "06:17:00 missed", "instruments ready"}) {
        at = log.find(text, at);
        ASSERT_NE(at, std::string::npos) << text << "\n" << log;
    }
    EXPECT_EQ(Occurrences(log, " missed: "), 7);
    EXPECT_EQ(StatusOf(rig.Station()).missed, 7);
    EXPECT_EQ(states, (std::set<std::string>{"disconnected", "waiting"}));
    // Sleeping while disconnected is as sparse as while waiting: no loop around the lost port.
    const auto outage =
        std::count_if(rig.sleeper.wakes.begin(), rig.sleeper.wakes.end(),
                      [](int64_t t) { return t > Today(6, 10) && t <= Today(6, 18); });
    EXPECT_LE(outage, 16);
}

// A stop either lets the acquisition in hand finish inside the grace, or (a long exposure or
// band move) cuts the waits short once the grace is over: either way nothing is written, no
// fault is logged, and the band gets its park command.
TEST_F(StationSim, StopDuringAMeasurementBreaksItOffWritesNothingAndParksTheBand) {
    for (const bool graceRunsOut : {false, true}) {
        SCOPED_TRACE(graceRunsOut);
        TempFolder home;
        StationRig rig(home.Path(), Today(9, 49), {});
        int waitsInSlot = 0;
        rig.pump.hook = [&] {
            if (rig.clock.now == Today(10, 0) && ++waitsInSlot == 15) {
                rig.Station().OnSignal(SIGTERM);
                if (graceRunsOut) {
                    rig.steady.Set(rig.steady.Now() + CStopAwarePump::kStopGrace);
                }
            }
        };

        EXPECT_EQ(rig.RunUntil(Today(10, 30)), 0);  // the stop at 10:30 if SIGTERM never came

        EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"), std::vector<int64_t>{Today(9, 50)});
        EXPECT_EQ(Occurrences(ReadFileBytes(home.Path() + "20240621.txt"), "YYYYMMDDHHMMSS"), 1);
        EXPECT_FALSE(std::filesystem::exists(home.Path() + "log.txt"));
        const CStationStatus status = StatusOf(rig.Station());
        EXPECT_EQ(status.state, "stopping");
        EXPECT_EQ(status.lastResult, "broken-off");
        // The simulator's thread may still be reading the park command the station sent last.
        const auto parked = [&rig] {
            const std::string last = rig.simulator->Requests().back();
            return last == "#MP,135.00000,0" || last == "#MP,-135.00000,0";
        };
        EXPECT_TRUE(PollUntil(parked, 5000)) << rig.simulator->Requests().back();
    }
}
