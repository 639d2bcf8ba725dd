// The simulated instruments: their answers, timing and spectra without a terminal, and
// CSimulator on its pseudo-terminal: pacing, the request log and the published link.
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "link/Serial.h"
#include "sim/SimInstrument.h"
#include "sim/SimSky.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int64_t kJuneNoonTokyo = 1718938800;  // 2024-06-21 03:00 UT, sun about 78 degrees

std::array<int16_t, CSimInstrument::kPixels> Expose(CSimInstrument& sim, int exposure, int64_t when,
                                                    bool open) {
    const SIMFAULTS none;
    sim.Handle(open ? "OP" : "CL", when, none, true);
    sim.Handle("GM," + std::to_string(exposure) + ",0,1", when, none, true);
    return sim.LastCounts();
}

// The requests of data/exchanges.txt in order, each with its answer ("\r" written out); the
// motor settings and the band angle they leave. With the spectroradiometer off only the band
// answers.
TEST(SimInstrument, AnswersBothCommandSets) {
    const std::string path = HALVO_AREA_DATA_DIR "/exchanges.txt";
    std::istringstream requests(ReadFileBytes(path));
    CSimInstrument sim(SIMOPTIONS{});
    std::string transcript;
    for (std::string line; std::getline(requests, line);) {
        const std::string request = line.substr(0, line.find('\t'));
        const SIMREPLY reply = sim.Handle(request, kJuneNoonTokyo, SIMFAULTS{}, true);
        EXPECT_EQ(reply.blockBytes, 0u) << request;
        transcript += request + "\t" + (reply.answered ? "" : "(no answer)");
        for (char c : reply.bytes) {
            transcript += c == '\r' ? std::string("\\r") : std::string(1, c);
        }
        transcript += "\n";
    }
    EXPECT_EQ(ReferenceMismatch(transcript, path), "");
    EXPECT_EQ(sim.MotorSpeed(), 2500);
    EXPECT_EQ(sim.SlewRate(), 200);
    EXPECT_DOUBLE_EQ(sim.BandAngle(), 0.0);          // "#MO" went back to the origin
    const SIMFAULTS spectroOff{.spectroOff = true};  // the band still answers
    EXPECT_FALSE(sim.Handle("", 0, spectroOff, true).answered);
    EXPECT_FALSE(sim.Handle("ID", 0, spectroOff, true).answered);
    EXPECT_TRUE(sim.Handle("#", 0, spectroOff, true).answered);
}

// The longest move stays inside the link's 50 s time-out at the slowest motor settings.
TEST(SimInstrument, MovesStayInsideTheTimeOutAndExposuresTakeTheirTimeUnlessFast) {
    EXPECT_EQ(CSimInstrument::MoveMs(0.0, 2500, 200), 0);
    EXPECT_LT(CSimInstrument::MoveMs(270.0, 1000, 100), 50000);
    CSimInstrument sim(SIMOPTIONS{});  // parked at -135
    const SIMREPLY paced = sim.Handle("#MP,-135.00000,0", 0, SIMFAULTS{}, false);
    EXPECT_EQ(paced.delayMs, CSimInstrument::MoveMs(270.0, 1000, 100));
    EXPECT_EQ(sim.Handle("#MP,0.00000,0", 0, SIMFAULTS{}, true).delayMs, 0);
    EXPECT_EQ(sim.Handle("#MP,10.00000,0", 0, {.slowBand = 55.0}, true).delayMs, 55000);
    EXPECT_GE(sim.Handle("GM,2000,0,1", 0, SIMFAULTS{}, false).delayMs, 2000);
    EXPECT_EQ(sim.Handle("GM,2000,0,1", 0, SIMFAULTS{}, true).delayMs, 0);
}

TEST(SimInstrument, NoonCountsFitTheExposureSearchAndClipAtTheCeiling) {
    CSimInstrument sim(SIMOPTIONS{});
    const auto fitting = Expose(sim, 100, kJuneNoonTokyo, true);
    const int16_t peak = *std::max_element(fitting.begin(), fitting.end());
    EXPECT_GT(peak, 7000);
    EXPECT_LT(peak, 17700);
    const auto saturated = Expose(sim, 5000, kJuneNoonTokyo, true);
    EXPECT_EQ(*std::max_element(saturated.begin(), saturated.end()), CSimInstrument::kCountCeiling);
    EXPECT_GE(*std::min_element(saturated.begin(), saturated.end()), 0);
    const auto dark = Expose(sim, 5000, kJuneNoonTokyo, false);
    EXPECT_LT(*std::max_element(dark.begin(), dark.end()), 2000);
}

// Parked, beside the sun and shading it: the counts follow the sky the band lets through.
TEST(SimInstrument, CountsGiveBackTheSkyIrradianceThroughTheCalibration) {
    const CSimSky::SunState sun = CSimSky::Sun(kJuneNoonTokyo, 135.0, 35.0);
    CSimInstrument sim(SIMOPTIONS{});
    for (double band : {CSimInstrument::kParkedAngle, sun.bandAngle + 10.0, sun.bandAngle}) {
        SCOPED_TRACE(band);
        char move[40];
        std::snprintf(move, sizeof move, "#MP,%.5f,0", -band);
        ASSERT_EQ(sim.Handle(move, kJuneNoonTokyo, SIMFAULTS{}, true).bytes, "OK\r");
        const auto light = Expose(sim, 100, kJuneNoonTokyo, true);
        const auto dark = Expose(sim, 100, kJuneNoonTokyo, false);
        double measured = 0.0;
        double expected = 0.0;
        for (int i = 600; i < 640; ++i) {
            const auto k = static_cast<size_t>(i);
            measured += (light[k] - dark[k]) * CSimInstrument::Calibration(i) / 100.0 * 1000.0;
            expected += CSimSky::Irradiance(CSimInstrument::Wavelength(i + 1), sun, band);
        }
        EXPECT_NEAR(measured / expected, 1.0, 0.03);
    }
}

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
    CSimulator sim(SIMOPTIONS{});  // paced
    ASSERT_TRUE(sim.Start());
    Line line(sim.SlavePath());
    const auto start = std::chrono::steady_clock::now();
    line.Send("RB,0\r");
    EXPECT_EQ(line.Receive(4099, 5000).size(), 4099u);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 4099.0 / CSimulator::kBytesPerSecond * 0.95);
}

}  // namespace
