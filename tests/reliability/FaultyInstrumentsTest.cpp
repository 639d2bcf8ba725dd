// Interval measurement through instrument faults and a dropped line, with the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <regex>
#include <sstream>

#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

namespace {

// Counts the data-file writes that succeeded: each one sets the title to the file.
class CountingHost : public FakeHost {
public:
    void SetTitle(const std::string& t) override {
        FakeHost::SetTitle(t);
        ++writes;
    }
    int writes = 0;
};

class Reliability : public ::testing::Test {
protected:
    Reliability() {
        clock.now = LocalStamp(2024, 6, 21, 9, 59, 0);
        options =
            FastSimulatorOptions(folder, clock, kDefaultLongitude, kDefaultLatitude, 20241205);
    }

    // A document connected through a pump that skips silence on a fake steady clock.
    std::unique_ptr<COrvelDoc> Connect() {
        auto doc = std::make_unique<COrvelDoc>(folder);
        doc->SetHost(&host);
        doc->SetMessageBox(&messages);
        doc->m_link.SetClock(&steady);
        doc->m_link.SetWaitPump(&pump);
        doc->m_link.SetPortMap(CPortMap(folder + "ports"));
        doc->m_comPort = 1;
        doc->m_intervalPeriod = 60;
        return doc;
    }

    // Starts the simulator and sets doc up through it as New does.
    bool SetUpThrough(CSimulator& simulator, COrvelDoc& doc) {
        if (!simulator.Start()) {
            return false;
        }
        pump.quiet = [&simulator] { return simulator.Idle(); };
        FakePortChooser chooser;
        return doc.OnNewDocument(chooser) != 0;
    }

    ScopedTimeZone zone{"Asia/Tokyo"};
    TempFolder temp;
    std::string folder = temp.Path();
    FakeWallClock clock;
    SIMOPTIONS options;
    FakeClock steady;
    FastForwardPump pump{steady, 150};
    FakeMessageBox messages;
    CountingHost host;
};

}  // namespace

TEST_F(Reliability, IntervalMeasurementKeepsRunningThroughInstrumentFaults) {
    CSimulator simulator(options);
    auto doc = Connect();
    ASSERT_TRUE(SetUpThrough(simulator, *doc)) << simulator.Error();
    SIMFAULTS faults;
    faults.silence = 0.01;
    faults.err = 0.02;
    faults.split = 0.2;
    faults.garble = 0.01;
    faults.shortBlock = 0.02;
    simulator.SetFaults(faults);

    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    CMeasurementSequence sequence(*doc, progress, clock);
    CIntervalScheduler scheduler(*doc, sequence, display, events, clock, messages);
    scheduler.StartInterval();
    int slots = 0;
    const int64_t end = LocalStamp(2024, 6, 21, 10, 35, 30);
    while (clock.now < end) {
        slots += TickAndMeasure(clock, events, scheduler);
    }
    EXPECT_EQ(slots, 36);
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_TRUE(doc->m_link.IsOpen());

    // Every slot that measured is in the data file and in the text file.
    CRadData day;
    const int records = day.LoadFile((folder + "VS20240621.wsx").c_str());
    EXPECT_EQ(records, host.writes);
    EXPECT_GE(records, slots * 3 / 4);
    const std::string text = ReadFileBytes(folder + "20240621.txt");
    int blocks = 0;
    for (size_t at = text.find("YYYYMMDDHHMMSS"); at != std::string::npos;
         at = text.find("YYYYMMDDHHMMSS", at + 1)) {
        ++blocks;
    }
    EXPECT_EQ(blocks, records);

    // Failed acquisitions were logged, attempt by attempt.
    const auto lines = SplitLines(ReadFileBytes(folder + "log.txt"));
    EXPECT_FALSE(lines.empty());
    const std::regex format(R"(2024,06,21,(09|10),\d\d,\d\d,meas([0-3]) error\(([1-4])\))");
    std::string previous;
    for (const std::string& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, format)) << line;
        if (m[3] != "1") {
            const std::string expected =
                "meas" + m[2].str() + " error(" + std::to_string(std::stoi(m[3]) - 1) + ")";
            EXPECT_NE(previous.find(expected), std::string::npos) << line;
        }
        previous = line;
    }
    EXPECT_FALSE(progress.visible);
}

TEST_F(Reliability, ALineDroppedMidMeasurementFailsCleanlyAndNewReconnects) {
    CSimulator simulator(options);
    auto doc = Connect();
    ASSERT_TRUE(SetUpThrough(simulator, *doc)) << simulator.Error();

    FakeProgress progress;
    CMeasurementSequence sequence(*doc, progress, clock);
    clock.now = LocalStamp(2024, 6, 21, 10, 0, 0);
    // The line goes away while the third count block of the first position is on the wire.
    int blocks = 0;
    pump.hook = [&] {
        const auto requests = simulator.Requests();
        const int rb = static_cast<int>(std::count(requests.begin(), requests.end(), "RB,0"));
        if (rb > blocks) {
            blocks = rb;
            if (blocks == 2) {
                simulator.Stop();
            }
        }
    };
    EXPECT_EQ(sequence.RunMeasurement(clock.now), 1);
    pump.hook = nullptr;
    EXPECT_FALSE(doc->m_link.IsOpen());
    EXPECT_FALSE(sequence.IsMeasuring());
    EXPECT_FALSE(progress.visible);
    const auto lines = SplitLines(ReadFileBytes(folder + "log.txt"));
    EXPECT_GE(lines.size(), 4u);  // the positions it could not reach, attempt by attempt

    // A measurement on the lost port refuses at once: the band check cannot be made.
    EXPECT_EQ(sequence.RunMeasurement(clock.now + 60), 0);

    // The simulator comes back under the same number; New sets the instruments up again.
    CSimulator again(options);
    ASSERT_TRUE(SetUpThrough(again, *doc)) << again.Error();
    EXPECT_EQ(sequence.RunMeasurement(clock.now + 120), 1);
    ASSERT_EQ(doc->m_radData.GetSize(), 1);
    EXPECT_GT(doc->m_radData.GetRecord(0)->spec[3].exposure, 0);
}
