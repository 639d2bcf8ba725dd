// The station against the simulated instruments on a simulated clock: a day of slots, a lost
// port, failing set-up, reload, stop, and the same files as the window program's path.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "data/CLocaleFormat.h"
#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "station/StationStatus.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/SimulatedDay.h"
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

// The window program's path: the scheduler ticked every second as the view's timer ticks it,
// each posted slot measured and written.
void RunWindowProgramPath(const std::string& folder, int64_t from, int64_t until,
                          const RigSettings& settings, const SIMFAULTS& faults) {
    FakeWallClock clock;
    clock.now = from;
    StationRig::WriteSettings(folder, settings);
    CSimulator simulator(
        FastSimulatorOptions(folder, clock, settings.longitude, settings.latitude, 7));
    ASSERT_TRUE(simulator.Start()) << simulator.Error();
    COrvelDoc doc(folder);
    FakeMessageBox messages;
    doc.SetMessageBox(&messages);
    doc.m_link.SetPortMap(CPortMap(folder + "ports"));
    FakeClock steady;
    FastForwardPump pump(steady);  // a block refused with "ERR" costs no real time-out
    doc.m_link.SetWaitPump(&pump);
    doc.m_link.SetClock(&steady);
    FakePortChooser chooser;
    ASSERT_TRUE(doc.OnNewDocument(chooser));
    simulator.SetFaults(faults);
    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    CMeasurementSequence sequence(doc, progress, clock);
    CIntervalScheduler scheduler(doc, sequence, display, events, clock, messages);
    scheduler.StartInterval();
    while (clock.now < until) {
        TickAndMeasure(clock, events, scheduler);
    }
    simulator.Stop();
}

}  // namespace

class StationSim : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Europe/Helsinki"};
    TempFolder dir;
};

TEST_F(StationSim, ADayOfSlotsIsMeasuredWithAtMostTwoWakeUpsAMinute) {
    StationRig rig(dir.Path(), Today(5, 58), {});
    ASSERT_TRUE(rig.simulator->Start()) << rig.simulator->Error();
    CStation& station = rig.Station();
    rig.sleeper.At(Today(19, 5), [&station] { station.RequestStop(); });

    EXPECT_EQ(station.Run(), 0);

    const auto times = rig.RecordTimes("VS20240621.wsx");
    ASSERT_EQ(times.size(), 79u);  // 06:00 to 19:00 every 10 minutes
    EXPECT_EQ(times.front(), Today(6, 0));
    EXPECT_EQ(times.back(), Today(19, 0));
    EXPECT_EQ(Occurrences(ReadFileBytes(dir.Path() + "20240621.txt"), "YYYYMMDDHHMMSS"), 79);
    std::map<int64_t, int> wakesPerMinute;
    for (int64_t wake : rig.sleeper.wakes) {
        EXPECT_LE(++wakesPerMinute[wake / 60], 2) << wake;
    }
    const CStationStatus status = StatusOf(station);
    EXPECT_EQ(status.due, 79);
    EXPECT_EQ(status.measured, 79);
    EXPECT_EQ(status.missed, 0);
    EXPECT_EQ(status.lastResult, "measured");
    EXPECT_GT(status.par, 0.0);
    EXPECT_EQ(Occurrences(rig.LogText(), " measured: exposures "), 79);
    // The evening slot homes the band and parks it; the stop adds no move.
    EXPECT_EQ(rig.simulator->Requests().back(), "#MP,135.00000,0");
}

TEST_F(StationSim, SameSlotsWriteTheSameFilesAsTheWindowProgram) {
    const RigSettings settings{6 * 3600, 8 * 3600, 600, 25.0, 60.0};
    SIMFAULTS faults;
    faults.err = 0.04;  // failed attempts, so log.txt has lines to compare
    TempFolder window;
    RunWindowProgramPath(window.Path(), Today(5, 59), Today(8, 0, 30), settings, faults);

    StationRig rig(dir.Path(), Today(5, 59), settings);
    ASSERT_TRUE(rig.simulator->Start());
    CStation& station = rig.Station();
    rig.sleeper.onEachSleep = [&rig, &faults] { rig.simulator->SetFaults(faults); };
    rig.sleeper.At(Today(8, 0, 30), [&station] { station.RequestStop(); });
    EXPECT_EQ(station.Run(), 0);

    for (const char* name : {"VS20240621.wsx", "20240621.txt", "log.txt"}) {
        const std::string expected = ReadFileBytes(window.Path() + name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_TRUE(ReadFileBytes(dir.Path() + name) == expected) << name << " differs";
    }
}

TEST_F(StationSim, APortLostInASlotIsRetriedAndEachMissedSlotLoggedOnce) {
    StationRig rig(dir.Path(), Today(5, 59, 30), {6 * 3600, 7 * 3600, 60, 25.0, 60.0});
    ASSERT_TRUE(rig.simulator->Start());
    CStation& station = rig.Station();
    int waitsInSlot = 0;
    rig.pump.hook = [&] {
        if (rig.clock.now == Today(6, 10) && ++waitsInSlot == 15) {
            rig.simulator->Stop();  // the adapter is pulled in the middle of the slot
        }
    };
    rig.sleeper.At(Today(6, 15), [&rig] { ASSERT_TRUE(rig.simulator->Start()); });
    rig.sleeper.At(Today(7, 0, 30), [&station] { station.RequestStop(); });
    std::set<std::string> states;
    rig.sleeper.onEachSleep = [&] { states.insert(StatusOf(station).state); };

    EXPECT_EQ(station.Run(), 0);

    const auto times = rig.RecordTimes("VS20240621.wsx");
    const std::set<int64_t> recorded(times.begin(), times.end());
    EXPECT_TRUE(recorded.count(Today(6, 9)));
    EXPECT_TRUE(recorded.count(Today(7, 0)));
    // Retries 30, 60 and 120 s after the loss fail; the one 240 s later (06:17:30) finds the
    // instruments back.
    EXPECT_EQ(*recorded.upper_bound(Today(6, 10)), Today(6, 18));
    const std::string log = rig.LogText();
    EXPECT_EQ(Occurrences(log, " missed: "), 7);
    for (int minute = 11; minute <= 17; ++minute) {
        const std::string slot = FormatC("slot 2024-06-21 06:%02d:00 missed", minute);
        EXPECT_EQ(Occurrences(log, slot), 1) << slot;
    }
    EXPECT_EQ(Occurrences(log, "disconnected: the port was lost during the slot"), 1);
    EXPECT_EQ(StatusOf(station).missed, 7);
    EXPECT_TRUE(states.count("disconnected"));
    EXPECT_TRUE(states.count("waiting"));
    // Sleeping while disconnected is as sparse as while waiting: no loop around the lost port.
    const auto outage =
        std::count_if(rig.sleeper.wakes.begin(), rig.sleeper.wakes.end(),
                      [](int64_t t) { return t > Today(6, 10) && t <= Today(6, 18); });
    EXPECT_LE(outage, 16);
}

TEST_F(StationSim, SetUpFailingThreeTimesIsRetriedAfter30And60And120Seconds) {
    StationRig rig(dir.Path(), Today(5, 50), {});
    SIMFAULTS bandOff;
    bandOff.bandOff = true;
    rig.simulator->SetFaults(bandOff);
    ASSERT_TRUE(rig.simulator->Start());
    CStation& station = rig.Station();
    rig.sleeper.At(Today(5, 53), [&rig] { rig.simulator->SetFaults({}); });
    rig.sleeper.At(Today(6, 5), [&station] { station.RequestStop(); });

    EXPECT_EQ(station.Run(), 0);

    const std::string log = rig.LogText();
    EXPECT_EQ(Occurrences(log, "set-up failed"), 3);
    const size_t first = log.find("next try in 30 s");
    const size_t second = log.find("next try in 60 s");
    const size_t third = log.find("next try in 120 s");
    const size_t ready = log.find("instruments ready");
    ASSERT_NE(third, std::string::npos);
    EXPECT_TRUE(first < second && second < third && third < ready) << log;
    for (int64_t retry : {Today(5, 50, 30), Today(5, 51, 30), Today(5, 53, 30)}) {
        EXPECT_NE(std::find(rig.sleeper.wakes.begin(), rig.sleeper.wakes.end(), retry),
                  rig.sleeper.wakes.end());
    }
    EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"), std::vector<int64_t>{Today(6, 0)});
}

TEST_F(StationSim, HangUpChangesThePeriodBeforeTheNextSlot) {
    StationRig rig(dir.Path(), Today(7, 58), {});
    ASSERT_TRUE(rig.simulator->Start());
    CStation& station = rig.Station();
    rig.sleeper.At(Today(8, 5), [&] {
        StationRig::WriteSettings(dir.Path(), {6 * 3600, 19 * 3600, 300, 25.0, 60.0});
        station.OnSignal(SIGHUP);
    });
    rig.sleeper.At(Today(8, 31), [&station] { station.RequestStop(); });

    EXPECT_EQ(station.Run(), 0);

    EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"),
              (std::vector<int64_t>{Today(8, 0), Today(8, 10), Today(8, 15), Today(8, 20),
                                    Today(8, 25), Today(8, 30)}));
    EXPECT_EQ(Occurrences(rig.LogText(), "Orvel.cfg reloaded"), 1);
}

// A stop either lets the acquisition in hand finish inside the grace, or (a long exposure or
// band move) cuts the waits short once the grace is over: either way nothing is written, no
// fault is logged, and the band gets its park command.
TEST_F(StationSim, StopDuringAMeasurementBreaksItOffWritesNothingAndParksTheBand) {
    for (const bool graceRunsOut : {false, true}) {
        SCOPED_TRACE(graceRunsOut);
        TempFolder home;
        StationRig rig(home.Path(), Today(9, 49), {});
        ASSERT_TRUE(rig.simulator->Start());
        CStation& station = rig.Station();
        int waitsInSlot = 0;
        rig.pump.hook = [&] {
            if (rig.clock.now == Today(10, 0) && ++waitsInSlot == 15) {
                station.OnSignal(SIGTERM);
                if (graceRunsOut) {
                    rig.steady.Set(rig.steady.Now() + CStopAwarePump::kStopGrace);
                }
            }
        };
        rig.sleeper.At(Today(10, 30), [&station] { station.RequestStop(); });  // if it never came

        EXPECT_EQ(station.Run(), 0);

        EXPECT_EQ(rig.RecordTimes("VS20240621.wsx"), std::vector<int64_t>{Today(9, 50)});
        EXPECT_EQ(Occurrences(ReadFileBytes(home.Path() + "20240621.txt"), "YYYYMMDDHHMMSS"), 1);
        EXPECT_FALSE(std::filesystem::exists(home.Path() + "log.txt"));
        const CStationStatus status = StatusOf(station);
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
