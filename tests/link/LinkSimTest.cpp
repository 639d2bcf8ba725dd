// CZeb530 against the simulated instruments, in-process and as the halvo-sim program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/PollWaitPump.h"
#include "link/Zeb530.h"
#include "sim/Simulator.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

namespace {

namespace fs = std::filesystem;

constexpr int64_t kJuneNoonTokyo = 1718938800;  // 2024-06-21 03:00 UT: sun high at 135 E 35 N

class LinkWithSimulator : public ::testing::Test {
protected:
    void StartSim(const SIMFAULTS& faults = {}) {
        SIMOPTIONS options;
        options.fast = true;
        options.seed = 7;
        options.clock = [] { return kJuneNoonTokyo; };
        options.faults = faults;
        options.linkPath = m_linkPath;
        m_sim = std::make_unique<CSimulator>(std::move(options));
        ASSERT_TRUE(m_sim->Start()) << m_sim->Error();
        ASSERT_EQ(m_link.Open(m_sim->SlavePath().c_str(), 38400, 8, 0, 0, 4096, 4096), 1);
    }
    // Silence then costs a fraction of a second instead of the whole time-out.
    void SkipSilence(int patienceMs = 300) {
        m_pump = std::make_unique<FastForwardPump>(m_clock, patienceMs);
        m_pump->quiet = [this] { return m_sim == nullptr || m_sim->Idle(); };
        m_link.SetClock(&m_clock);
        m_link.SetWaitPump(m_pump.get());
    }
    void TearDown() override {
        m_link.ClosePort();
        if (m_sim) {
            m_sim->Stop();
        }
    }

    std::string m_linkPath;
    std::unique_ptr<CSimulator> m_sim;
    FakeClock m_clock;
    std::unique_ptr<FastForwardPump> m_pump;
    CZeb530 m_link;
};

// The identity, the wavelength grid from the coefficients and the calibration table as the
// simulator sends them arrive intact.
TEST_F(LinkWithSimulator, SensorBlocksReadBackTheSimulatedInstrument) {
    StartSim();
    EXPECT_EQ(m_link.CheckBand(), 1);
    BANDINFO info{};
    EXPECT_EQ(m_link.GetBandInfo(info), 1);
    EXPECT_STREQ(info.id, "RSB-200");
    EXPECT_EQ(m_link.CheckSpectro(), 1);
    CRadData data;
    ASSERT_EQ(m_link.GetSensorInfo(data), 1);
    EXPECT_STREQ(data.m_id, "KT-530");
    EXPECT_STREQ(data.m_fwTime, "2023/04/18 10:22:31");
    for (int i : {0, 700, kPixelCount - 1}) {
        EXPECT_NEAR(data.m_wavelength[i], CSimInstrument::Wavelength(i + 1), 0.01) << i;
    }
    ASSERT_EQ(m_link.GetCalibration(data), 1);
    for (int i = 0; i < kPixelCount; i += 97) {
        EXPECT_EQ(data.m_calib[i], CSimInstrument::Calibration(i)) << i;
    }
}

// Each injected fault fails the commands it hits, and the link works again once it is gone. A
// slow band gets the request (it stands at the angle, not negated) but answers too late.
TEST_F(LinkWithSimulator, InjectedFaultsFailTheirCommandsAndTheLinkRecovers) {
    SkipSilence();
    StartSim({.err = 1.0});
    int16_t speed = 0;
    EXPECT_EQ(m_link.GetMotorSpeed(speed), 0);
    m_sim->SetFaults({.silence = 1.0});
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    m_sim->SetFaults({.spectroOff = true});
    EXPECT_EQ(m_link.CheckBand(), 1);
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    m_sim->SetFaults({.shortBlock = 1.0});
    int16_t counts[kPixelCount] = {};
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 0);
    CRadData data;
    EXPECT_EQ(m_link.GetCalibration(data), 0);
    m_sim->SetFaults({});
    EXPECT_EQ(m_link.CheckSpectro(), 1);
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 1);
    m_sim->SetFaults({.slowBand = 60.0});
    EXPECT_EQ(m_link.MoveBand(10.0), 0);
    EXPECT_NEAR(m_sim->BandAngle(), 10.0, 1e-9);
}

TEST_F(LinkWithSimulator, DroppedLineIsSeenAtOnceAndTheRepublishedPortWorks) {
    TempFolder dir;
    m_linkPath = dir.Path() + "COM2";
    StartSim({.dropLine = 1.0});
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    EXPECT_FALSE(m_link.IsOpen());
    m_sim->SetFaults({});
    m_link.SetPortMap(CPortMap(dir.Path()));
    ASSERT_TRUE(PollUntil([this] { return m_link.OpenPort(2) == 1; }, 10000));
    EXPECT_EQ(m_sim->LineDrops(), 1);
    EXPECT_EQ(m_link.CheckSpectro(), 1);
    m_link.ClosePort();
    m_sim->Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_linkPath)));
}

// The headless pump waits for real; a quit request from another thread ends the wait and
// every later one.
TEST_F(LinkWithSimulator, QuitFromAnotherThreadEndsARealWait) {
    StartSim({.spectroOff = true});
    CPollWaitPump pump;
    m_link.SetWaitPump(&pump);
    std::thread quitter([&pump] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pump.RequestQuit();
    });
    m_link.SendCommand("ID\r");
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 30), 0);
    quitter.join();
    EXPECT_TRUE(pump.QuitRequested());
    EXPECT_EQ(m_link.Transact(30), 0);
}

TEST(SimProgram, RejectsBadValues) {
    for (const char* args : {"--err 2", "--seed x", "--latitude 91", "--nonsense"}) {
        const std::string command =
            std::string(HALVO_BIN_DIR) + "/halvo-sim " + args + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
    }
}

}  // namespace
