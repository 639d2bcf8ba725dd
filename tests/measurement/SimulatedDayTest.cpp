// Interval measurement through the measurement controller against the simulated instruments,
// with no window system: a whole day at a 1-minute period, and a band that falls silent.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/MeasurementController.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr bool kSanitized = HALVO_SANITIZED != 0;  // a sanitized build keeps freed memory

// Resident size of this process in bytes.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// A document at a site near Helsinki with a one-minute period, connected to COM1 of its folder.
bool ConnectInHelsinki(COrvelDoc& doc, FakeHost& host, IMessageBox& messages) {
    doc.SetHost(&host);
    doc.SetMessageBox(&messages);
    doc.m_link.SetPortMap(CPortMap(doc.m_exeDir + "ports"));
    doc.m_longitude = 25.0;
    doc.m_latitude = 60.0;
    doc.m_intervalPeriod = 60;
    doc.m_comPort = 1;
    FakePortChooser chooser;
    return doc.OnNewDocument(chooser);
}

// Summer solstice near Helsinki: the documents, displays and clock of a simulated day.
class SimulatedDay : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Europe/Helsinki"};
    TempFolder temp;
    const std::string folder = temp.Path();
    FakeWallClock clock;
    FakeHost host;
    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
};

}  // namespace

TEST_F(SimulatedDay, EverySlotFromSixToSevenLandsInBothFiles) {
    clock.now = LocalStamp(2024, 6, 21, 5, 59, 0);

    CSimulator simulator(FastSimulatorOptions(folder, clock, 25.0, 60.0, 7));
    ASSERT_TRUE(simulator.Start()) << simulator.Error();

    {
        COrvelDoc doc(folder);
        FakeMessageBox messages;
        ASSERT_TRUE(ConnectInHelsinki(doc, host, messages));
        doc.m_autoStart = 1;
        CMeasurementController controller(doc, progress, display, events, clock, messages);
        controller.OnInitialUpdate();
        int slots = 0;
        long residentAtTen = 0;
        const int64_t end = LocalStamp(2024, 6, 21, 19, 0, 30);
        while (clock.now < end) {
            slots += TickAndMeasure(clock, events, controller);
            if (slots >= 10 && residentAtTen == 0) {
                residentAtTen = ResidentBytes();
            }
        }
        // The day's slots cost no memory that stays: the file grows, the process does not.
        if (!kSanitized) {
            EXPECT_LT(ResidentBytes() - residentAtTen, 4L << 20);
        }
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(display.statusText, "");
        EXPECT_EQ(events.measurementsEnded, 781);
    }

    CRadData day;
    EXPECT_EQ(day.LoadFile((folder + "VS20240621.wsx").c_str()), 781);
    EXPECT_EQ(Occurrences(ReadFileBytes(folder + "20240621.txt"), "YYYYMMDDHHMMSS"), 781);
    EXPECT_FALSE(std::filesystem::exists(folder + "log.txt"));
    const auto requests = simulator.Requests();
    const auto lastHome = std::find(requests.rbegin(), requests.rend(), "#MO");
    ASSERT_NE(lastHome, requests.rend());
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "#MO"), 1);  // after 19:00 only
    EXPECT_EQ(simulator.BandAngle(), -135.0);
    simulator.Stop();
}

namespace {

// A message box that stands for the window's modal loop: while it is open the clock runs on
// for a minute, timer ticks fire and posted slots are delivered, nested, as Qt would.
class ModalLoopMessageBox : public IMessageBox {
public:
    Answer Show(const std::string& text, Buttons) override {
        shown.push_back(text);
        maxDepth = std::max(maxDepth, ++depth);
        if (whileOpen) {
            whileOpen();
        }
        --depth;
        return Answer::Ok;
    }
    std::function<void()> whileOpen;
    std::vector<std::string> shown;
    int depth = 0;
    int maxDepth = 0;
};

}  // namespace

// The band is silent for the slots of 07:41, 07:42 and 07:43 and answers again from 07:44: the
// slots that fell due while the first one was still checking the band write nothing, and the
// one record is measured with the time of the slot due when the band answered.
TEST_F(SimulatedDay, SlotsFallingDueDuringASilentBandCheckAreSkipped) {
    clock.now = LocalStamp(2024, 6, 21, 7, 40, 30);
    const int64_t bandBack = LocalStamp(2024, 6, 21, 7, 44, 0);

    CSimulator simulator(FastSimulatorOptions(folder, clock, 25.0, 60.0));
    ASSERT_TRUE(simulator.Start()) << simulator.Error();

    COrvelDoc doc(folder);
    ModalLoopMessageBox messages;
    ASSERT_TRUE(ConnectInHelsinki(doc, host, messages));
    SIMFAULTS silent;
    silent.bandOff = true;
    simulator.SetFaults(silent);
    CMeasurementController controller(doc, progress, display, events, clock, messages);
    const auto tick = [&] {
        if (clock.now + 1 == bandBack) {
            simulator.SetFaults(SIMFAULTS{});
        }
        TickAndMeasure(clock, events, controller);
    };
    messages.whileOpen = [&] {
        for (int s = 0; s < 60; ++s) {
            tick();
        }
    };
    controller.m_scheduler.StartInterval();
    while (clock.now < LocalStamp(2024, 6, 21, 7, 44, 30)) {
        tick();
    }

    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.maxDepth, 1);
    CRadData day;
    ASSERT_EQ(day.LoadFile((folder + "VS20240621.wsx").c_str()), 1);
    EXPECT_EQ(day.GetRecord(0)->measTime, bandBack);
    const std::string text = ReadFileBytes(folder + "20240621.txt");
    EXPECT_EQ(Occurrences(text, "YYYYMMDDHHMMSS"), 1);
    EXPECT_NE(text.find("YYYYMMDDHHMMSS 2024 06 21 07 44 00"), std::string::npos);
    simulator.Stop();
}
