// Tests of the chart's axis arithmetic: tick steps, mappings, tick enumeration.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "display/GraphMath.h"

using namespace graphmath;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(CalcStep, PicksFirstLadderStepWithFiveWholeIntervals) {
    struct Case {
        double range;
        double step;
    };
    const Case cases[] = {
        {800.0, 100.0},  {4.9e6, 5e5},  {5e6, 1e6},    {1e9, 1e6},     {1801.8, 200.0},
        {1503.0, 200.0}, {10.4, 2.0},   {4.0, 0.5},    {2.5, 0.5},     {2.4, 0.2},
        {1.0, 0.2},      {0.999, 0.1},  {0.01, 0.002}, {0.004, 0.001}, {0.0, 0.001},
        {-50.0, 0.001},  {kNaN, 0.001}, {kInf, 1e6},   {-kInf, 0.001},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(CalcStep(c.range), c.step, c.step * 1e-12) << "range " << c.range;
    }
}

TEST(CanvasIntegers, TruncationCutsTowardZeroAndSaturatesAndClampHoldsSixteenBits) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const std::pair<double, int> truncations[] = {{2.9, 2},     {-2.9, -2},   {-0.018, 0},
                                                  {kNaN, 0},    {3e9, kMax},  {-3e9, kMin},
                                                  {kInf, kMax}, {-kInf, kMin}};
    for (const auto& [value, truncated] : truncations) {
        EXPECT_EQ(TruncToInt(value), truncated) << value;
    }
    const std::pair<int, int> clamps[] = {
        {100, 100}, {40000, 32767}, {-40000, -32768}, {kMin, -32768}};
    for (const auto& [value, clamped] : clamps) {
        EXPECT_EQ(ClampToShort(value), clamped) << value;
    }
}

// 100 x 416 / 800 = 52; 0.52 cut to 0 and -0.52 cut toward zero; a reversed axis; empty,
// unbounded and NaN inputs; offsets beyond the int range saturate. Each row: the value, the
// axis minimum and maximum, the offset on 416 pixels.
TEST(AxisOffset, TruncatesScaledPositionAndIsZeroOnEmptyAxis) {
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    const double cases[][4] = {{400.0, 300.0, 1100.0, 52}, {301.0, 300.0, 1100.0, 0},
                               {299.0, 300.0, 1100.0, 0},  {500.0, 700.0, 400.0, 277},
                               {5.0, 2.0, 2.0, 0},         {5.0, kNaN, 2.0, 0},
                               {5.0, 0.0, kInf, 0},        {1e300, 0.0, 1.0, kMax},
                               {-kInf, 0.0, 1.0, kMin},    {kNaN, 0.0, 1.0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(AxisOffset(c[0], c[1], c[2], 416), c[3])
            << c[0] << " on " << c[1] << ".." << c[2];
    }
}

TEST(TickValues, RunFromCeilOfMinToFloorOfMax) {
    const std::vector<double> x = TickValues(300.0, 1100.0, 100.0);
    ASSERT_EQ(x.size(), 9u);
    EXPECT_DOUBLE_EQ(x.front(), 300.0);
    EXPECT_DOUBLE_EQ(x.back(), 1100.0);

    const std::vector<double> y = TickValues(-3.6, 1800.0, 200.0);
    ASSERT_EQ(y.size(), 10u);
    EXPECT_DOUBLE_EQ(y.front(), 0.0);
    EXPECT_FALSE(std::signbit(y.front()));

    const std::vector<double> log = TickValues(-1.0, 3.0, 1.0);
    EXPECT_EQ(log, (std::vector<double>{-1.0, 0.0, 1.0, 2.0, 3.0}));
}

TEST(TickValues, NoneForReversedEmptyOrUnboundedAxes) {
    EXPECT_TRUE(TickValues(700.0, 400.0, CalcStep(-300.0)).empty());
    EXPECT_TRUE(TickValues(5.0, 5.0, 1.0).empty());
    EXPECT_TRUE(TickValues(0.0, kInf, 1e6).empty());
    EXPECT_TRUE(TickValues(kNaN, 1.0, 0.1).empty());
    EXPECT_TRUE(TickValues(0.0, 1.0, 0.0).empty());
    EXPECT_TRUE(TickValues(0.0, 1e300, CalcStep(1e300)).empty());
    EXPECT_EQ(TickValues(0.0, 1e9, CalcStep(1e9)).size(), 1001u);
}
