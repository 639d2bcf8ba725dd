// CSimulator on its pseudo-terminal: pacing, faults, the request log and the published link.
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

#include "link/Serial.h"
#include "tests/support/TestFiles.h"

namespace {

// The program's side of the line: a raw port that reads until `bytes` arrived or ms passed.
struct Line : CSerial {
    explicit Line(const std::string& path) { Open(path.c_str(), 38400, 8, 0, 0, 4096, 4096); }
    void Send(const std::string& text) {
        ASSERT_EQ(Write(text.data(), static_cast<int>(text.size())), 1);
    }
    std::string Receive(size_t bytes, int ms = 500) {
        std::string got;
        PollUntil(
            [&] {
                char buffer[1024];
                got.append(buffer, static_cast<size_t>(std::max(0, Read(buffer, sizeof buffer))));
                return got.size() >= bytes;
            },
            ms);
        return got;
    }
};

TEST(Simulator, StartFailsWhenTheLinkCannotBePublished) {
    TempFolder dir;
    WriteFileBytes(dir.Path() + "file", "x");
    SIMOPTIONS options;
    options.linkPath = dir.Path() + "file/COM1";
    CSimulator sim(options);
    EXPECT_FALSE(sim.Start());
    EXPECT_FALSE(sim.Error().empty());
    EXPECT_FALSE(sim.Running());
}

TEST(Simulator, AnswersAndLogsEveryRequestWithItsTime) {
    TempFolder dir;
    SIMOPTIONS options;
    options.fast = true;
    options.logPath = dir.Path() + "sim.log";
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

TEST(Simulator, PacedBlockTakesItsWireTime) {
    SIMOPTIONS options;  // paced
    CSimulator sim(options);
    ASSERT_TRUE(sim.Start());
    Line line(sim.SlavePath());
    const auto start = std::chrono::steady_clock::now();
    line.Send("RB,0\r");
    EXPECT_EQ(line.Receive(4099, 5000).size(), 4099u);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 4099.0 / CSimulator::kBytesPerSecond * 0.95);
}

TEST(Simulator, SameSeedRepeatsTheFaults) {
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
