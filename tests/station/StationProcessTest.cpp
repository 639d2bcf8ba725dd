// The halvo-station program against the halvo-sim program: one measurement with --once, and
// a running station that measures a slot and ends cleanly on SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/RadData.h"
#include "station/StationStatus.h"
#include "tests/support/StationRig.h"

namespace fs = std::filesystem;

namespace {

// A child process with standard error in a file; killed if still running at the end.
class Child {
public:
    Child(std::vector<std::string> args, const std::string& errPath) : pid(fork()) {
        if (pid == 0) {
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            std::vector<char*> argv;
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // The exit status once it ended within the deadline; -1 otherwise.
    int WaitExit(int deadlineMs) {
        int status = 0;
        if (!PollUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, deadlineMs)) {
            return -1;
        }
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    pid_t pid;
};

// A longitude where the sun stands high now, so the test measures whatever the time of day.
double NoonLongitude() {
    const double hours = static_cast<double>(std::time(nullptr) % 86400) / 3600.0;
    return std::remainder((12.0 - hours) * 15.0, 360.0);
}

// The records of the day's data file in folder (the date is today's).
int Records(const std::string& folder) {
    CRadData data;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".wsx") {
            return data.LoadFile(entry.path().c_str());
        }
    }
    return 0;
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

    TempFolder dir;
    std::unique_ptr<Child> sim;
};

}  // namespace

TEST_F(StationProgram, OnceMeasuresAllFourPositionsIntoTheDaysFiles) {
    Child station({HALVO_BIN_DIR "/halvo-station", "--home", dir.Path(), "--once"},
                  dir.Path() + "station.err");
    EXPECT_EQ(station.WaitExit(60000), 0) << ReadFileBytes(dir.Path() + "station.err");
    EXPECT_EQ(Records(dir.Path()), 1);
    EXPECT_EQ(Occurrences(ReadFileBytes(dir.Path() + "station.err"), " measured: exposures "), 1);
}

TEST_F(StationProgram, MeasuresASlotAndEndsOnSigtermWithTheBandParked) {
    Child station({HALVO_BIN_DIR "/halvo-station", "--home", dir.Path()},
                  dir.Path() + "station.err");
    ASSERT_TRUE(PollUntil([this] { return Records(dir.Path()) >= 1; }, 100000))
        << ReadFileBytes(dir.Path() + "station.err");
    kill(station.pid, SIGTERM);
    EXPECT_EQ(station.WaitExit(10000), 0);
    CStationStatus status;
    ASSERT_TRUE(status.ReadFile(dir.Path() + kStatusFileName));
    EXPECT_EQ(status.state, "stopping");
    EXPECT_GE(status.measured, 1);
    // The sequence parked the band after its slot: the last move in the simulator's log.
    const std::string requests = ReadFileBytes(dir.Path() + "sim.log");
    const std::string lastMove = requests.substr(std::min(requests.rfind("#MP,"), requests.size()));
    EXPECT_TRUE(lastMove.starts_with("#MP,135.") || lastMove.starts_with("#MP,-135.")) << lastMove;
    // Stopped: --status says so with exit status 2.
    Child check({HALVO_BIN_DIR "/halvo-station", "--status", "--home", dir.Path()},
                dir.Path() + "status.err");
    EXPECT_EQ(check.WaitExit(10000), 2);
}
