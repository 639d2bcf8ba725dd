// CZeb530 against the simulated instruments, in-process and as the halvo-sim program.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "TestPumps.h"
#include "link/PollWaitPump.h"
#include "link/Zeb530.h"
#include "sim/SimSky.h"
#include "sim/Simulator.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int64_t kJuneNoonTokyo = 1718938800;  // 2024-06-21 03:00 UT: sun high at 135 E 35 N

SIMOPTIONS FastOptions() {
    SIMOPTIONS options;
    options.fast = true;
    options.seed = 7;
    options.clock = [] { return kJuneNoonTokyo; };
    return options;
}

int OpenOn(CZeb530& link, const std::string& device) {
    return link.Open(device.c_str(), 38400, 8, 0, 0, 4096, 4096);
}

double SumOfCounts(const int16_t (&counts)[kPixelCount], int from, int to) {
    double sum = 0.0;
    for (int i = from; i < to; ++i) {
        sum += counts[i];
    }
    return sum;
}

class LinkWithSimulator : public ::testing::Test {
protected:
    void StartSim(SIMOPTIONS options) {
        m_sim = std::make_unique<CSimulator>(std::move(options));
        ASSERT_TRUE(m_sim->Start()) << m_sim->Error();
        ASSERT_EQ(OpenOn(m_link, m_sim->SlavePath()), 1);
    }
    void TearDown() override {
        m_link.ClosePort();
        if (m_sim) {
            m_sim->Stop();
        }
    }
    // Light minus dark over the visible pixels at the band's current place.
    double VisibleSignal(int exposure) {
        int16_t light[kPixelCount];
        int16_t dark[kPixelCount];
        EXPECT_EQ(m_link.OpenShutter(), 1);
        EXPECT_EQ(m_link.Measure(exposure, 0), 1);
        EXPECT_EQ(m_link.ReadCounts(light, 0), 1);
        EXPECT_EQ(m_link.CloseShutter(), 1);
        EXPECT_EQ(m_link.Measure(exposure, 0), 1);
        EXPECT_EQ(m_link.ReadCounts(dark, 0), 1);
        return SumOfCounts(light, 256, 1024) - SumOfCounts(dark, 256, 1024);
    }

    std::unique_ptr<CSimulator> m_sim;
    CZeb530 m_link;
};

TEST_F(LinkWithSimulator, InstrumentSetUpSequenceSucceedsAndSetsTheMotor) {
    StartSim(FastOptions());
    EXPECT_EQ(m_link.CheckBand(), 1);
    BANDINFO info{};
    EXPECT_EQ(m_link.GetBandInfo(info), 1);
    EXPECT_STREQ(info.id, "RSB-200");
    int16_t speed = 0;
    int16_t slew = 0;
    ASSERT_EQ(m_link.GetMotorSpeed(speed), 1);
    ASSERT_EQ(m_link.GetSlewRate(slew), 1);
    EXPECT_NE(speed, 2500);
    EXPECT_NE(slew, 200);
    EXPECT_EQ(m_link.SetMotorSpeed(2500), 1);
    EXPECT_EQ(m_link.SetSlewRate(200), 1);
    EXPECT_EQ(m_sim->MotorSpeed(), 2500);
    EXPECT_EQ(m_sim->SlewRate(), 200);

    EXPECT_EQ(m_link.CheckSpectro(), 1);
    CRadData data;
    ASSERT_EQ(m_link.GetSensorInfo(data), 1);
    EXPECT_STREQ(data.m_id, "KT-530");
    EXPECT_STREQ(data.m_fwTime, "2023/04/18 10:22:31");
    EXPECT_NEAR(data.m_wavelength[0], 300.0, 1.0);
    EXPECT_NEAR(data.m_wavelength[kPixelCount - 1], 1097.5, 1.0);
    ASSERT_EQ(m_link.GetCalibration(data), 1);
    for (int i = 0; i < kPixelCount; i += 97) {
        EXPECT_EQ(data.m_calib[i], CSimInstrument::Calibration(i)) << i;
    }
}

TEST_F(LinkWithSimulator, BandPositionsSeeGlobalSideAndShadedSky) {
    StartSim(FastOptions());
    const double sun = CSimSky::Sun(kJuneNoonTokyo, 135.0, 35.0).bandAngle;
    const double global = VisibleSignal(100);
    ASSERT_EQ(m_link.MoveBand(sun - 10.0), 1);
    EXPECT_NEAR(m_sim->BandAngle(), sun - 10.0, 1e-5);
    const double side = VisibleSignal(100);
    ASSERT_EQ(m_link.MoveBand(sun), 1);
    const double shaded = VisibleSignal(100);
    EXPECT_GT(global, side);
    EXPECT_GT(side, 0.85 * global);
    EXPECT_LT(shaded, 0.3 * side);
    EXPECT_GT(shaded, 0.0);
}

TEST_F(LinkWithSimulator, SplitRepliesAreReassembled) {
    SIMOPTIONS options = FastOptions();
    options.faults.split = 1.0;
    StartSim(options);
    CRadData data;
    EXPECT_EQ(m_link.GetSensorInfo(data), 1);
    EXPECT_STREQ(data.m_type, "KT-530VN");
    int16_t counts[kPixelCount] = {};
    EXPECT_EQ(m_link.Measure(100, 0), 1);
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 1);
    EXPECT_GT(counts[1000], 1000);
}

TEST_F(LinkWithSimulator, InjectedErrAndSilenceFailTheCommands) {
    FakeClock clock;
    FastForwardPump pump(clock);
    m_link.SetClock(&clock);
    m_link.SetWaitPump(&pump);
    StartSim(FastOptions());
    SIMFAULTS faults;
    faults.err = 1.0;
    m_sim->SetFaults(faults);
    int16_t speed = 0;
    EXPECT_EQ(m_link.GetMotorSpeed(speed), 0);
    faults = SIMFAULTS{};
    faults.silence = 1.0;
    m_sim->SetFaults(faults);
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    faults = SIMFAULTS{};
    faults.spectroOff = true;
    m_sim->SetFaults(faults);
    EXPECT_EQ(m_link.CheckBand(), 1);
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    m_sim->SetFaults(SIMFAULTS{});
    EXPECT_EQ(m_link.CheckSpectro(), 1);
}

TEST_F(LinkWithSimulator, ShortBlockFailsAndThePresenceCheckRecovers) {
    FakeClock clock;
    FastForwardPump pump(clock);
    m_link.SetClock(&clock);
    m_link.SetWaitPump(&pump);
    SIMOPTIONS options = FastOptions();
    options.faults.shortBlock = 1.0;
    StartSim(options);
    int16_t counts[kPixelCount] = {};
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 0);
    CRadData data;
    EXPECT_EQ(m_link.GetCalibration(data), 0);
    m_sim->SetFaults(SIMFAULTS{});
    EXPECT_EQ(m_link.CheckSpectro(), 1);
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 1);
}

TEST_F(LinkWithSimulator, GarbledRepliesNeverPassUnchangedEveryTime) {
    FakeClock clock;
    FastForwardPump pump(clock, 100);
    m_link.SetClock(&clock);
    m_link.SetWaitPump(&pump);
    SIMOPTIONS options = FastOptions();
    options.faults.garble = 1.0;
    StartSim(options);
    int intact = 0;
    for (int i = 0; i < 10; ++i) {
        CRadData data;
        m_link.CheckSpectro();
        if (m_link.GetSensorInfo(data) == 1 && std::string(data.m_id) == "KT-530") {
            ++intact;
        }
    }
    EXPECT_LT(intact, 10);
    EXPECT_TRUE(m_link.IsOpen());
}

TEST_F(LinkWithSimulator, SlowBandRunsPastTheMoveTimeOut) {
    FakeClock clock;
    FastForwardPump pump(clock);
    m_link.SetClock(&clock);
    m_link.SetWaitPump(&pump);
    SIMOPTIONS options = FastOptions();
    options.faults.slowBand = 60.0;
    StartSim(options);
    EXPECT_EQ(m_link.MoveBand(10.0), 0);
    EXPECT_NEAR(m_sim->BandAngle(), 10.0, 1e-9);  // the unit got the request, but answers late
}

TEST_F(LinkWithSimulator, DroppedLineIsSeenAtOnceAndTheRepublishedPortWorks) {
    const fs::path dir = fs::temp_directory_path() / ("halvo-drop-" + std::to_string(getpid()));
    fs::create_directories(dir);
    SIMOPTIONS options = FastOptions();
    options.linkPath = (dir / "COM2").string();
    options.faults.dropLine = 1.0;
    StartSim(options);
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    EXPECT_FALSE(m_link.IsOpen());
    m_sim->SetFaults(SIMFAULTS{});
    m_link.SetPortMap(CPortMap(dir.string()));
    bool reopened = false;
    for (int i = 0; i < 100 && !reopened; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        reopened = m_link.OpenPort(2) == 1;
    }
    ASSERT_TRUE(reopened);
    EXPECT_EQ(m_sim->LineDrops(), 1);
    EXPECT_EQ(m_link.CheckSpectro(), 1);
    m_link.ClosePort();
    m_sim->Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "COM2")));
    fs::remove_all(dir);
}

TEST_F(LinkWithSimulator, SimulatorStoppingMidCountBlockFailsTheReadAtOnce) {
    SIMOPTIONS options = FastOptions();
    options.fast = false;  // a paced block takes about a second on the wire
    StartSim(options);
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        m_sim->Stop();
    });
    int16_t counts[kPixelCount] = {};
    const auto start = std::chrono::steady_clock::now();
    const int result = m_link.ReadCounts(counts, 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(m_link.IsOpen());
    // Far below the 10 s block time-out: the hang-up ended the wait.
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST_F(LinkWithSimulator, QuitFromAnotherThreadEndsARealWait) {
    SIMOPTIONS options = FastOptions();
    options.faults.spectroOff = true;
    StartSim(options);
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

// halvo-sim as a separate process, as it runs beside the application.
class SimProcess : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("halvo-simproc-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        Kill(SIGTERM);
        fs::remove_all(m_dir);
    }
    bool Spawn(std::vector<std::string> args) {
        args.insert(args.begin(), std::string(HALVO_BIN_DIR) + "/halvo-sim");
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            return false;
        }
        for (int i = 0; i < 250; ++i) {
            if (fs::exists(m_dir / "COM1")) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    int Kill(int signal) {
        if (m_pid <= 0) {
            return -1;
        }
        kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return status;
    }

    fs::path m_dir;
    pid_t m_pid = -1;
};

TEST_F(SimProcess, AnswersTheLinkThroughThePublishedPortAndLogsRequests) {
    const std::string log = (m_dir / "requests.log").string();
    ASSERT_TRUE(
        Spawn({"--fast", "--link", (m_dir / "COM1").string(), "--log", log, "--seed", "3"}));
    CZeb530 link;
    link.SetPortMap(CPortMap(m_dir.string()));
    ASSERT_EQ(link.OpenPort(1), 1);
    EXPECT_EQ(link.CheckBand(), 1);
    EXPECT_EQ(link.CheckSpectro(), 1);
    CRadData data;
    EXPECT_EQ(link.GetSensorInfo(data), 1);
    EXPECT_STREQ(data.m_serial, "53012345");
    link.ClosePort();
    const int status = Kill(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_dir / "COM1")));

    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    const std::string lines = text.str();
    EXPECT_NE(lines.find(" #\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" (empty line)\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(" C5\n"), std::string::npos) << lines;
}

TEST_F(SimProcess, KilledInTheMiddleOfAPacedCountBlock) {
    ASSERT_TRUE(Spawn({"--link", (m_dir / "COM1").string()}));
    CZeb530 link;
    link.SetPortMap(CPortMap(m_dir.string()));
    ASSERT_EQ(link.OpenPort(1), 1);
    std::thread killer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        Kill(SIGKILL);
    });
    int16_t counts[kPixelCount] = {};
    const int result = link.ReadCounts(counts, 0);
    killer.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.OpenPort(1), 0);  // the link left behind points nowhere
}

TEST(SimProgram, HelpDocumentsEveryOption) {
    const std::string command = std::string(HALVO_BIN_DIR) + "/halvo-sim --help";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string help;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        help += buffer;
    }
    EXPECT_EQ(pclose(pipe), 0);
    for (const char* option :
         {"--link PATH", "--fast", "--seed N", "--log FILE", "--longitude", "--latitude", "--time",
          "--speed", "--slew", "--spectro-off", "--band-off", "--silence P", "--err P", "--split P",
          "--garble P", "--short-block P", "--drop-line P", "--slow-band SEC"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
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
