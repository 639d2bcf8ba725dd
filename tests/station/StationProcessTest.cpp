// The halvo-station program against the halvo-sim program: one measurement with --once, then
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

// The records of the data files in folder: today's, and yesterday's when a run crossed midnight.
int Records(const std::string& folder) {
    int records = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".wsx") {
            records += CRadData().LoadFile(entry.path().c_str());
        }
    }
    return records;
}

}  // namespace

// halvo-sim publishes its line in the station's ports folder; --once measures all four positions
// into the day's files and ends, then a running station measures a slot and ends on SIGTERM.
TEST(StationProgram, OnceMeasuresThenARunningStationMeasuresASlotAndEndsOnSigterm) {
    TempFolder dir;
    const std::string home = dir.Path();
    const double longitude = NoonLongitude();
    StationRig::WriteSettings(home, {0, 86399, 60, longitude, 0.0});
    Child sim({HALVO_BIN_DIR "/halvo-sim", "--fast", "--link", home + "ports/COM1", "--log",
               home + "sim.log", "--longitude", std::to_string(longitude), "--latitude", "0"},
              home + "sim.err");
    ASSERT_TRUE(PollUntil([&home] { return fs::exists(home + "ports/COM1"); }, 10000));

    Child once({HALVO_BIN_DIR "/halvo-station", "--home", home, "--once"}, home + "once.err");
    EXPECT_EQ(once.WaitExit(60000), 0) << ReadFileBytes(home + "once.err");
    EXPECT_EQ(Records(home), 1);
    EXPECT_EQ(Occurrences(ReadFileBytes(home + "once.err"), " measured: exposures "), 1);

    Child station({HALVO_BIN_DIR "/halvo-station", "--home", home}, home + "station.err");
    ASSERT_TRUE(PollUntil([&home] { return Records(home) >= 2; }, 100000))
        << ReadFileBytes(home + "station.err");
    kill(station.pid, SIGTERM);
    EXPECT_EQ(station.WaitExit(10000), 0);
    CStationStatus status;
    ASSERT_TRUE(status.ReadFile(home + kStatusFileName));
    EXPECT_EQ(status.state, "stopping");
    EXPECT_GE(status.measured, 1);
    // The sequence parked the band after its slot: the last move in the simulator's log.
    const std::string requests = ReadFileBytes(home + "sim.log");
    const std::string lastMove = requests.substr(std::min(requests.rfind("#MP,"), requests.size()));
    EXPECT_TRUE(lastMove.starts_with("#MP,135.") || lastMove.starts_with("#MP,-135.")) << lastMove;
    // Stopped: --status says so with exit status 2.
    Child check({HALVO_BIN_DIR "/halvo-station", "--status", "--home", home}, home + "status.err");
    EXPECT_EQ(check.WaitExit(10000), 2);
}
