// The station's test rig: simulated instruments and a simulated clock around a real station.
#include "tests/support/StationRig.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "data/RadData.h"
#include "document/OrvelSettings.h"
#include "tests/support/SimulatedDay.h"

IStationSleeper::Wake ScriptedSleeper::SleepUntil(int64_t t, int) {
    wakes.push_back(t);
    if (onEachSleep) {
        onEachSleep();
    }
    const auto next = m_events.begin();
    if (next != m_events.end() && next->first <= t) {
        m_clock.now = std::max(m_clock.now.load(), next->first);
        auto action = std::move(next->second);
        m_events.erase(next);
        action();
        return Wake::Signal;
    }
    m_clock.now = t;
    return Wake::Time;
}

void StationRig::WriteSettings(const std::string& folder, const RigSettings& s) {
    COrvelSettings settings(folder);
    settings.m_comPort = 1;
    settings.m_longitude = s.longitude;
    settings.m_latitude = s.latitude;
    settings.m_intervalStart = s.from;
    settings.m_intervalEnd = s.to;
    settings.m_intervalPeriod = s.period;
    settings.LoadSaveConfig(settings.m_cfgPath, COrvelSettings::kStore);
}

StationRig::StationRig(const std::string& folderPath, int64_t start, const RigSettings& settings)
    : folder(folderPath) {
    clock.now = start;
    WriteSettings(folder, settings);
    simulator = std::make_unique<CSimulator>(
        FastSimulatorOptions(folder, clock, settings.longitude, settings.latitude, 7));
    m_logFd =
        open((folder + "station.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    m_log = std::make_unique<CJournalLog>(m_logFd, false, clock);
}

StationRig::~StationRig() {
    m_station.reset();
    simulator->Stop();
    close(m_logFd);
}

CStation& StationRig::Station() {
    if (!m_station) {
        m_station =
            std::make_unique<CStation>(StationOptions{folder, -1, Language::English},
                                       StationServices{clock, steady, pump, sleeper, *m_log});
    }
    return *m_station;
}

int StationRig::RunUntil(int64_t stopAt) {
    EXPECT_TRUE(simulator->Start()) << simulator->Error();
    sleeper.At(stopAt, [this] { Station().RequestStop(); });
    return Station().Run();
}

std::string StationRig::LogText() const {
    return ReadFileBytes(folder + "station.log");
}

std::vector<int64_t> StationRig::RecordTimes(const std::string& name) const {
    CRadData data;
    std::vector<int64_t> times;
    data.LoadFile((folder + name).c_str());  // none when it cannot be read
    for (int i = 0; i < data.GetSize(); ++i) {
        times.push_back(data.GetRecord(i)->measTime);
    }
    return times;
}
