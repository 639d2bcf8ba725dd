// The halvo program itself, offscreen, against the halvo-sim program: start-up set-up and the
// clean end on SIGTERM and SIGINT.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "tests/support/TestFiles.h"
#include "tests/support/qt/AppHarness.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

// Starts the program offscreen, copied into the run folder: it keeps "Orvel.cfg" and its ports
// beside itself.
bool StartProgram(QProcess& program, const RunFolder& folder) {
    const fs::path target = fs::path(folder.Path()) / "halvo";
    fs::copy_file(fs::path(HALVO_BIN_DIR) / "halvo", target, fs::copy_options::overwrite_existing);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", "/tmp/halvo-xdg");
    env.insert("LANG", "C.UTF-8");
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(target.string()), {});
    return program.waitForStarted(5000);
}

// halvo-sim publishing COM1 in the run folder, logging every request; ended with the test.
struct SimProcess : QProcess {
    explicit SimProcess(const RunFolder& folder) : log(folder.Path() + "sim.log") {
        const std::string link = folder.PortsDir() + "/COM1";
        start(HALVO_BIN_DIR "/halvo-sim", {"--fast", "--link", QString::fromStdString(link),
                                           "--log", QString::fromStdString(log)});
        started = waitForStarted(5000) && WaitUntil([&link] { return fs::exists(link); }, 5000);
    }
    ~SimProcess() override {
        if (state() != NotRunning) {
            ::kill(static_cast<pid_t>(processId()), SIGTERM);
            waitForFinished(5000);
        }
    }
    // Whether a request line ending with the text has arrived.
    bool Received(const std::string& request) const {
        return ReadFileBytes(log).find(" " + request + "\n") != std::string::npos;
    }
    const std::string log;
    bool started = false;
};

// Whether the process has a handler of its own for the signal (its SigCgt mask in /proc).
bool CatchesSignal(qint64 pid, int signal) {
    const std::string status = ReadFileBytes("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("SigCgt:");
    const unsigned long long mask =
        at == std::string::npos ? 0 : std::stoull(status.substr(at + 7, 24), nullptr, 16);
    return ((mask >> (signal - 1)) & 1u) != 0;
}

// Sends the signal until the program has ended: one that arrives while the window or the port
// dialog is still being built finds nothing to close yet, and the next one closes it. Once the
// program is ending it has given the signal back to the system, and another one would kill it,
// so the signal is sent again only while the program still handles it itself.
bool EndsOn(QProcess& program, int signal) {
    return WaitUntil(
        [&program, signal] {
            if (CatchesSignal(program.processId(), signal)) {
                kill(static_cast<pid_t>(program.processId()), signal);
            }
            return program.waitForFinished(500);
        },
        15000);
}

}  // namespace

class ProgramSignal : public ::testing::TestWithParam<int> {};

TEST_P(ProgramSignal, SetsUpBothInstrumentsThenEndsCleanlyStoringTheSettings) {
    Application();
    RunFolder folder;
    folder.WriteConfig(1);
    SimProcess sim(folder);
    ASSERT_TRUE(sim.started);
    QProcess halvo;
    ASSERT_TRUE(StartProgram(halvo, folder));
    // The set-up ends with the calibration table; the window is up after it.
    ASSERT_TRUE(WaitUntil([&sim] { return sim.Received("CALB"); }, 30000));
    EXPECT_TRUE(sim.Received("#FH,2500,2500"));  // the simulated motor starts at 1000
    fs::remove(folder.ConfigPath());
    ASSERT_TRUE(EndsOn(halvo, GetParam()));
    EXPECT_EQ(halvo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(halvo.exitCode(), 0);
    EXPECT_EQ(folder.StoredPort(), 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramSignal, ::testing::Values(SIGTERM, SIGINT));

TEST(Program, SigtermWhileAskingForAPortEndsTheProgram) {
    Application();
    RunFolder folder;
    QProcess halvo;
    ASSERT_TRUE(StartProgram(halvo, folder));
    // Without "Orvel.cfg" the port -1 cannot open: the program waits in the "COM Port" dialog.
    ASSERT_TRUE(WaitUntil([&halvo] { return CatchesSignal(halvo.processId(), SIGTERM); }, 15000));
    ASSERT_EQ(halvo.state(), QProcess::Running);
    ASSERT_TRUE(EndsOn(halvo, SIGTERM));
    EXPECT_EQ(halvo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(halvo.exitCode(), 0);
    EXPECT_EQ(folder.StoredPort(), -1);  // the defaults, stored at the end
}
