// StationRig: a station against the in-process simulated instruments on a simulated clock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/Simulator.h"
#include "station/IStationSleeper.h"
#include "station/JournalLog.h"
#include "station/Station.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

// Sleeps by moving the clock: to the wake time, or to the first scripted event before it, which
// then runs and ends the sleep as a signal would. Every requested wake time is kept.
class ScriptedSleeper : public IStationSleeper {
public:
    explicit ScriptedSleeper(FakeWallClock& clock) : m_clock(clock) {}
    // Runs action when the clock reaches t.
    void At(int64_t t, std::function<void()> action) { m_events.emplace(t, std::move(action)); }
    Wake SleepUntil(int64_t t, int portFd) override;

    std::vector<int64_t> wakes;
    std::function<void()> onEachSleep;

private:
    FakeWallClock& m_clock;
    std::multimap<int64_t, std::function<void()>> m_events;
};

struct RigSettings {
    int64_t from = 6 * 3600;
    int64_t to = 19 * 3600;
    int64_t period = 600;
    double longitude = 25.0;
    double latitude = 60.0;
};

// Simulator (its faults drawn from seed 7), clocks, pump, log and station in one folder. The
// station's log goes to "station.log" in that folder.
class StationRig {
public:
    StationRig(const std::string& folder, int64_t start, const RigSettings& settings);
    ~StationRig();

    // Writes "Orvel.cfg" of the settings into folder (port 1, data files in the folder).
    static void WriteSettings(const std::string& folder, const RigSettings& settings);
    // Makes the station: after the simulator was set up as the test wants it.
    CStation& Station();
    // Starts the simulator (unless the test did; a failure to start fails the test) and runs the
    // station until a stop requested at stopAt; the station's exit status.
    int RunUntil(int64_t stopAt);
    std::string LogText() const;
    // Time stamps of the records of the day's data file.
    std::vector<int64_t> RecordTimes(const std::string& name) const;

    std::string folder;
    FakeWallClock clock;
    FakeClock steady;
    FastForwardPump pump{steady};
    ScriptedSleeper sleeper{clock};
    std::unique_ptr<CSimulator> simulator;

private:
    int m_logFd = -1;
    std::unique_ptr<CJournalLog> m_log;
    std::unique_ptr<CStation> m_station;
};
