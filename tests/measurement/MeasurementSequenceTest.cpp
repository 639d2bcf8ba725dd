// One measurement against the simulated instruments: order of requests, exposure search, faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/CLocaleFormat.h"
#include "measurement/BandAngle.h"
#include "measurement/ExposureTable.h"
#include "tests/support/SequenceFixture.h"

#include <map>
#include <tuple>

namespace {

using Sequence = SequenceFixture;

int CountPrefix(const std::vector<std::string>& requests, const std::string& prefix) {
    return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                          [&](const auto& r) { return r.rfind(prefix, 0) == 0; }));
}

std::vector<std::string> AcquisitionRequests(int exposure) {
    const std::string gm = FormatC("GM,%d,0,1", exposure);
    return {"", "SS", "OP", gm, "RB,0", "CL", gm, "RB,0"};
}

std::string Move(double angle) {
    return FormatC("#MP,%.5f,0", -angle);
}

}  // namespace

TEST(BandAngle, RefractionSwitchesAtTheHorizonLimit) {
    EXPECT_EQ(RefractedElevation(-0.586), 0.0);
    EXPECT_EQ(RefractedElevation(-2.0), -2.0 + 0.586);
    const double h = -0.585;
    EXPECT_NEAR(RefractedElevation(h),
                h + 0.0167 / std::tan((h + 8.6 / (h + 4.4)) * 3.141592653589793 / 180.0), 1e-12);
    // Just above the switch the formula lifts the sun less than the switch does: still below.
    EXPECT_LT(RefractedElevation(-0.585), 0.0);
    EXPECT_NEAR(RefractedElevation(45.0),
                45.0 + 0.0167 / std::tan((45.0 + 8.6 / 49.4) * 3.141592653589793 / 180.0), 1e-12);
}

TEST(BandAngle, BandFollowsTheSunAcrossTheTiltedFrame) {
    EXPECT_NEAR(BandAngle(0.0, 50.0), 0.0, 1e-12);     // noon: straight overhead of the band
    EXPECT_NEAR(BandAngle(90.0, 0.0), 90.0, 1e-12);    // setting in the west
    EXPECT_NEAR(BandAngle(-90.0, 0.0), -90.0, 1e-12);  // rising in the east
    // Sun due west at 30°: tan β = cos h / (sin h cos c) with the frame turned by 15°.
    const double rad = 3.141592653589793 / 180.0;
    EXPECT_NEAR(BandAngle(90.0, 30.0),
                std::atan2(std::cos(30 * rad), std::sin(30 * rad) * std::cos(15 * rad)) / rad,
                1e-12);
    EXPECT_LT(BandAngle(-60.0, 30.0), 0.0);
}

TEST_F(Sequence, MorningMeasurementVisitsFourPositionsAndParks) {
    ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
    const double beta = sequence->LastBandAngle();
    EXPECT_LT(beta, 0.0);
    std::vector<std::string> expected = {"#"};
    const double targets[] = {beta - 10.0, beta, beta + 10.0};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            expected.push_back(Move(targets[i - 1]));
        }
        const auto acquisition = AcquisitionRequests(10);
        expected.insert(expected.end(), acquisition.begin(), acquisition.end());
    }
    expected.push_back(Move(-135.0));
    EXPECT_EQ(Requests(), expected);

    ASSERT_EQ(doc->m_radData.GetSize(), 1);
    const RADDATA& r = *doc->m_radData.GetRecord(0);
    EXPECT_EQ(r.measTime, static_cast<int32_t>(clock.now));
    for (const SPECDATA& s : r.spec) {
        EXPECT_EQ(s.valid, 1);
        EXPECT_EQ(s.exposure, 10);
        EXPECT_NEAR(s.temperature, 25.0f, 3.0f);
        EXPECT_EQ(s.ssValue[2], 38.0f);
        EXPECT_EQ(s.count[1000], 12000);
        EXPECT_EQ(s.dark[1000], 500);
    }
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(host.redraws, 5);  // emptied, then after each position
    EXPECT_EQ(doc->m_exposureIndex, 0);
    EXPECT_FALSE(progress.visible);
    const std::vector<std::string> firstMessages(progress.messages.begin(),
                                                 progress.messages.begin() + 4);
    EXPECT_EQ(firstMessages,
              (std::vector<std::string>{"", "-- Meas Now --", "-- Measurement --\nExposure 10 msec",
                                        "-- Measure dark --\nExposure 10 msec"}));
    EXPECT_EQ(ReadLog(), "");
}

// The day's last slot (18:55 + 10 min lies after 19:00) homes the band before parking; an
// afternoon parks on the positive side.
TEST_F(Sequence, TheDaysLastSlotHomesTheBandAndTheAfternoonParksOnThePositiveSide) {
    for (const auto& [hour, minute, beforePark, park] :
         {std::tuple{18, 55, "#MO", Move(-135.0)}, std::tuple{15, 0, "RB,", Move(135.0)}}) {
        StartInstruments(Options());
        clock.now = LocalStamp(2024, 6, 21, hour, minute, 0);
        ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
        const auto requests = Requests();
        ASSERT_GE(requests.size(), 2u);
        EXPECT_EQ(requests[requests.size() - 2].substr(0, 3), beforePark) << hour;
        EXPECT_EQ(requests.back(), park) << hour;
    }
}

TEST_F(Sequence, ExposureSearchWalksTheTable) {
    struct Case {
        int startIndex;
        std::map<int, int> peaks;  // light peak at each exposure tried
        std::vector<int> lightExposures;
        int finalIndex;
    };
    const Case cases[] = {
        {3, {{100, 5000}, {200, 9000}}, {100, 200}, 4},
        {0, {{10, 20000}}, {10}, 0},
        {8, {{5000, 3000}}, {5000}, 8},
        {5, {{500, 17700}, {200, 17699}}, {500, 200}, 4},
        {1, {{20, 7000}, {50, 7001}}, {20, 50}, 2},
        // Too dark at 100 ms, too bright at 200 ms: 15 changes, then the last index is kept.
        {3,
         {{100, 1000}, {200, 30000}},
         {100, 200, 100, 200, 100, 200, 100, 200, 100, 200, 100, 200, 100, 200, 100},
         4},
    };
    for (const Case& c : cases) {
        SIMOPTIONS options = Options();
        options.counts = [peaks = c.peaks](int exposure, bool open, Counts& counts) {
            counts = open ? PeakCounts(100, peaks.at(exposure)) : PeakCounts(500, 500);
        };
        StartInstruments(options);
        SPECDATA spec{};
        int index = c.startIndex;
        ASSERT_EQ(sequence->AcquireAuto(spec, index), 1);
        EXPECT_EQ(index, c.finalIndex);
        std::vector<int> exposures;
        for (const auto& r : Requests()) {
            if (r.rfind("GM,", 0) == 0) {
                exposures.push_back(std::atoi(r.c_str() + 3));
            }
        }
        const int chosen = EXPOSURE_TABLE[c.finalIndex];
        std::vector<int> expected = c.lightExposures;
        expected.push_back(chosen);  // the dark reading
        EXPECT_EQ(exposures, expected) << "start index " << c.startIndex;
        EXPECT_EQ(spec.exposure, chosen);
    }
}

// A fixed exposure keeps its index; pixels over the limit are stored as zero.
TEST_F(Sequence, FixedAcquisitionKeepsItsIndexAndStoresSaturatedPixelsAsZero) {
    SIMOPTIONS options = Options();
    options.counts = [](int, bool open, Counts& c) {
        c = PeakCounts(open ? 9000 : 400, open ? 9000 : 400);
        if (open) {
            c[10] = 17700;
            c[11] = 17701;
            c[12] = -5;
        }
    };
    StartInstruments(options);
    SPECDATA spec{};
    ASSERT_EQ(sequence->AcquireFixed(spec, 6), 1);
    EXPECT_EQ(CountPrefix(Requests(), "GM,1000,0,1"), 2);
    EXPECT_EQ(spec.exposure, 1000);
    EXPECT_EQ(spec.time, static_cast<int32_t>(clock.now));
    EXPECT_EQ((std::vector<int>{spec.count[10], spec.dark[10], spec.count[11], spec.dark[11],
                                spec.count[12]}),
              (std::vector<int>{17700, 400, 0, 0, -5}));
}

TEST_F(Sequence, EveryFailedAttemptIsLoggedAndThePositionStaysValid) {
    SIMFAULTS faults;
    faults.refused = {"GM"};
    SetFaults(faults);
    ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
    std::string expected;
    for (int position = 0; position < 4; ++position) {
        for (int attempt = 1; attempt <= 4; ++attempt) {
            expected += FormatC("2024,06,21,09,00,00,meas%d error(%d)\n", position, attempt);
        }
    }
    EXPECT_EQ(ReadLog(), expected);
    ASSERT_EQ(doc->m_radData.GetSize(), 1);
    const RADDATA& r = *doc->m_radData.GetRecord(0);
    for (const SPECDATA& s : r.spec) {
        EXPECT_EQ(s.valid, 1);
        EXPECT_EQ(s.exposure, 0);
        EXPECT_EQ(s.ssValue[2], 38.0f);  // the status was read before the exposure failed
        EXPECT_EQ(*std::max_element(std::begin(s.count), std::end(s.count)), 0);
    }
    EXPECT_FALSE(progress.visible);
    ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
    EXPECT_EQ(ReadLog(), expected + expected);  // appended, never rewritten
}

TEST_F(Sequence, BreakDuringPositionTwoEmptiesTheSetAndStillParks) {
    // Break while the progress shows position 2's light exposure: pressed in answer to what the
    // user sees, whether or not the program had to wait for a reply at that moment.
    int lightShown = 0;
    progress.onMessage = [this, &lightShown](const std::string& text) {
        if (text.rfind("-- Measurement --", 0) == 0 && ++lightShown == 3) {
            sequence->OnMeasBreak();
        }
    };
    ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
    const auto requests = Requests();
    EXPECT_EQ(doc->m_radData.GetSize(), 0);
    EXPECT_EQ(CountPrefix(requests, "#MP"), 3);  // two positions and the park
    EXPECT_EQ(requests.back(), Move(-135.0));
    EXPECT_EQ(CountPrefix(requests, "GM"), 2 + 2 + 1);  // no dark reading at position 2
    EXPECT_TRUE(host.modified);
}

TEST_F(Sequence, ASecondRequestWhileRunningIsRefused) {
    int nested = -1;
    progress.onMessage = [this, &nested](const std::string&) {
        if (nested == -1 && sequence->IsMeasuring()) {
            nested = sequence->RunMeasurement(clock.now + 600);
        }
    };
    ASSERT_EQ(sequence->RunMeasurement(clock.now), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(CountPrefix(Requests(), "#MP"), 4);
    EXPECT_FALSE(sequence->IsMeasuring());
}

TEST_F(Sequence, NightSkipsTheSpectraButParksTheBand) {
    doc->m_radData.AddData(RADDATA{});
    clock.now = LocalStamp(2024, 6, 21, 23, 0, 0);
    EXPECT_EQ(sequence->RunMeasurement(clock.now), 0);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"#", "#MO", Move(-135.0)}));
    EXPECT_EQ(doc->m_radData.GetSize(), 1);
    EXPECT_FALSE(host.modified);
}

TEST_F(Sequence, ASilentBandMeansNothingIsMeasured) {
    SIMFAULTS faults;
    faults.bandOff = true;
    SetFaults(faults);
    doc->m_radData.AddData(RADDATA{});
    EXPECT_EQ(sequence->RunMeasurement(clock.now), 0);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"#", "#", "#", "#"}));
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].rfind("ZEB Com. Error", 0), 0u);
    EXPECT_EQ(doc->m_radData.GetSize(), 1);
    EXPECT_EQ(ReadLog(), "");
    EXPECT_FALSE(sequence->IsMeasuring());
}
