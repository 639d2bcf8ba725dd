// CSimulator on its pseudo-terminal: pacing, faults, the request log and the published link.
#include "sim/Simulator.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// The program's side of the line, kept minimal: raw open, write a request, read for a while.
class Line {
public:
    explicit Line(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios tio{};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    bool Ok() const { return m_fd >= 0; }
    void Send(const std::string& text) {
        ASSERT_EQ(write(m_fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // Reads until `bytes` arrived or nothing came for quietMs.
    std::string Receive(size_t bytes, int quietMs = 500) {
        std::string got;
        while (got.size() < bytes) {
            pollfd pfd{m_fd, POLLIN, 0};
            if (poll(&pfd, 1, quietMs) <= 0 || (pfd.revents & POLLIN) == 0) {
                break;
            }
            char buffer[1024];
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

private:
    int m_fd = -1;
};

class SimulatorOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("halvo-simtest-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(SimulatorOnPty, StartFailsWhenTheLinkCannotBePublished) {
    std::ofstream(m_dir / "file") << "x";
    SIMOPTIONS options;
    options.linkPath = (m_dir / "file" / "COM1").string();
    CSimulator sim(options);
    EXPECT_FALSE(sim.Start());
    EXPECT_FALSE(sim.Error().empty());
    EXPECT_FALSE(sim.Running());
}

TEST_F(SimulatorOnPty, AnswersAndLogsEveryRequestWithItsTime) {
    SIMOPTIONS options;
    options.fast = true;
    options.logPath = (m_dir / "sim.log").string();
    options.faults.bandOff = true;
    CSimulator sim(options);
    ASSERT_TRUE(sim.Start());
    Line line(sim.SlavePath());
    line.Send("\rGM,100,0,1\r#\r");  // one write: answered in order, the band not at all
    EXPECT_EQ(line.Receive(8), "ERR\rOK\r");
    sim.Stop();
    EXPECT_EQ(sim.Requests(), (std::vector<std::string>{"", "GM,100,0,1", "#"}));
    std::ifstream in(options.logPath);
    const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )";
    for (const char* request : {"\\(empty line\\)", "GM,100,0,1", "# \\[no answer\\]"}) {
        std::string line;
        std::getline(in, line);
        EXPECT_TRUE(std::regex_match(line, std::regex(stamp + request))) << line;
    }
}

TEST_F(SimulatorOnPty, PacedBlockTakesItsWireTime) {
    SIMOPTIONS options;  // paced
    CSimulator sim(options);
    ASSERT_TRUE(sim.Start());
    Line line(sim.SlavePath());
    const auto start = std::chrono::steady_clock::now();
    line.Send("RB,0\r");
    EXPECT_EQ(line.Receive(4099).size(), 4099u);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 4099.0 / CSimulator::kBytesPerSecond * 0.95);
}

TEST_F(SimulatorOnPty, SameSeedRepeatsTheFaults) {
    std::string runs[2];
    for (auto& run : runs) {
        SIMOPTIONS options;
        options.fast = true;
        options.seed = 99;
        options.faults.err = 0.5;
        CSimulator sim(options);
        ASSERT_TRUE(sim.Start());
        Line line(sim.SlavePath());
        for (int i = 0; i < 12; ++i) {
            line.Send("#FH\r");
            run += line.Receive(4, 200) == "ERR\r" ? 'E' : 'o';
        }
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_NE(runs[0].find('E'), std::string::npos);
    EXPECT_NE(runs[0].find('o'), std::string::npos);
}

}  // namespace
