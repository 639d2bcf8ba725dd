// The halvo-station program against the halvo-sim program: one measurement with --once, and
// a running station that measures a slot and ends cleanly on SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "data/RadData.h"
#include "station/StationStatus.h"
#include "tests/support/StationRig.h"

namespace fs = std::filesystem;

namespace {

// A child process with standard error in a file; killed if still running at the end.
class Child {
public:
    Child(const std::vector<std::string>& args, const std::string& errPath) {
        m_pid = fork();
        if (m_pid == 0) {
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, 2);
            std::vector<char*> argv;
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~Child() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    pid_t Pid() const { return m_pid; }
    // The exit status once it ended within the deadline; -1 otherwise.
    int WaitExit(int deadlineMs) {
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
};

// A longitude where the sun stands high now, so the test measures whatever the time of day.
double NoonLongitude() {
    const double hours = static_cast<double>(std::time(nullptr) % 86400) / 3600.0;
    return std::remainder((12.0 - hours) * 15.0, 360.0);
}

std::string DataFile(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("VS", 0) == 0 && entry.path().extension() == ".wsx") {
            return entry.path().string();
        }
    }
    return {};
}

int Records(const std::string& path) {
    CRadData data;
    return path.empty() ? 0 : data.LoadFile(path.c_str());
}

class StationProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const double longitude = NoonLongitude();
        StationRig::WriteSettings(dir.Path(), {0, 86399, 60, longitude, 0.0});
        sim = std::make_unique<Child>(
            std::vector<std::string>{HALVO_BIN_DIR "/halvo-sim", "--fast", "--link",
                                     dir.Path() + "ports/COM1", "--log", dir.Path() + "sim.log",
                                     "--longitude", std::to_string(longitude), "--latitude", "0"},
            dir.Path() + "sim.err");
        ASSERT_TRUE(PollUntil([this] { return fs::exists(dir.Path() + "ports/COM1"); }, 10000));
    }
    Child Station(const std::vector<std::string>& extra) {
        std::vector<std::string> args{HALVO_BIN_DIR "/halvo-station", "--home", dir.Path()};
        args.insert(args.end(), extra.begin(), extra.end());
        return Child(args, dir.Path() + "station.err");
    }

    TempFolder dir;
    std::unique_ptr<Child> sim;
};

}  // namespace

TEST_F(StationProgram, OnceMeasuresAllFourPositionsIntoTheDaysFiles) {
    Child station = Station({"--once"});
    EXPECT_EQ(station.WaitExit(60000), 0) << ReadFileBytes(dir.Path() + "station.err");
    EXPECT_EQ(Records(DataFile(dir.Path())), 1);
    EXPECT_NE(ReadFileBytes(dir.Path() + "station.err").find(" measured: exposures "),
              std::string::npos);
}

TEST_F(StationProgram, MeasuresASlotAndEndsOnSigtermWithTheBandParked) {
    Child station = Station({});
    ASSERT_TRUE(PollUntil([this] { return Records(DataFile(dir.Path())) >= 1; }, 100000))
        << ReadFileBytes(dir.Path() + "station.err");
    kill(station.Pid(), SIGTERM);
    EXPECT_EQ(station.WaitExit(10000), 0);
    CStationStatus status;
    ASSERT_TRUE(status.ReadFile(dir.Path() + kStatusFileName));
    EXPECT_EQ(status.state, "stopping");
    EXPECT_GE(status.measured, 1);
    // The sequence parked the band after its slot: the last move in the simulator's log.
    const std::string requests = ReadFileBytes(dir.Path() + "sim.log");
    const size_t lastMove = requests.rfind("#MP,");
    ASSERT_NE(lastMove, std::string::npos);
    EXPECT_EQ(requests.compare(lastMove + 4, 4, "135.") == 0 ||
                  requests.compare(lastMove + 4, 5, "-135.") == 0,
              true)
        << requests.substr(lastMove, 30);
    // Stopped: --status says so with exit status 2.
    Child check = Child({HALVO_BIN_DIR "/halvo-station", "--status", "--home", dir.Path()},
                        dir.Path() + "status.err");
    EXPECT_EQ(check.WaitExit(10000), 2);
}
