// Tests of CGraphPlot through the recording canvas: ranges, ticks, labels, curves and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "data/RadData.h"
#include "display/GraphPlot.h"
#include "display/RecordingCanvas.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const CanvasFont kLabelFont{"Times New Roman", 8, 0};
const CanvasRect kPlotRect{74, 50, 490, 340};

// A plot on rect with x from 300 to 1100 nm and y as the caller gives.
std::unique_ptr<CGraphPlot> MakePlot(double (*y)(int), const CanvasRect& rect = kPlotRect) {
    auto plot = std::make_unique<CGraphPlot>();
    plot->m_rect = rect;
    for (int i = 0; i < kPixelCount; ++i) {
        plot->m_x[i] = 300.0 + 800.0 * i / (kPixelCount - 1);
        plot->m_y[i] = plot->m_value[i] = y(i);
    }
    return plot;
}

// A plot whose y rises evenly from lo to hi.
std::unique_ptr<CGraphPlot> MakeRamp(double lo, double hi) {
    auto plot = MakePlot([](int) { return 0.0; });
    for (int i = 0; i < kPixelCount; ++i) {
        plot->m_y[i] = lo + (hi - lo) * i / (kPixelCount - 1);
    }
    return plot;
}

// Axes set by hand: x from 300 to 1100 nm, y as given.
void SetAxes(CGraphPlot& plot, double yMin, double yMax) {
    plot.m_xMin = 300.0;
    plot.m_xMax = 1100.0;
    plot.m_yMin = yMin;
    plot.m_yMax = yMax;
}

bool HasVertex(const CRecordingCanvas& canvas, CanvasPoint p) {
    return std::any_of(canvas.Ops().begin(), canvas.Ops().end(), [&](const CanvasOp& op) {
        return (op.type == CanvasOpType::MoveTo || op.type == CanvasOpType::LineTo) && op.to == p;
    });
}

}  // namespace

// Log: four decades below a top of at least ten. Linear: 1.2 times the top (0.8 when all data
// are negative), a negative minimum pushed down by 1.2, a positive one kept. Values that are
// not finite take no part. A manual range comes from the pair of the scale.
TEST(GraphPlotAxes, AutoscaleOfBothScalesAndManualRanges) {
    constexpr GRAPHPARAM kLog{.logScale = 1};
    constexpr GRAPHPARAM kManual{
        .yMaxLin = 2000.0, .yMinLin = 100.0, .yMaxLog = 3.0, .yMinLog = -2.0, .autoScale = 0};
    GRAPHPARAM manualLog = kManual;
    manualLog.logScale = 1;
    const struct {
        GRAPHPARAM param;
        double lo, hi, yMax, yMin, yStep;
    } cases[] = {
        {kLog, -0.7, 2.3, 3.0, -1.0, 1.0},         {kLog, -2.8, 0.2, 1.0, -3.0, 1.0},
        {kLog, -2.0, 1.0, 1.0, -3.0, 1.0},         {kLog, -9.0, -6.0, 1.0, -3.0, 1.0},
        {kLog, 1.0, 4.0, 4.0, 0.0, 1.0},           {{}, -3.0, 1500.0, 1800.0, -3.6, 200.0},
        {{}, -10.0, -2.0, -1.6, -12.0, 2.0},       {{}, 5.0, 100.0, 120.0, 5.0, 20.0},
        {{}, 0.0, 0.0, 0.0, 0.0, 0.001},           {kManual, 0.0, 99999.0, 2000.0, 100.0, 200.0},
        {manualLog, 0.0, 99999.0, 3.0, -2.0, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lo) + " .. " + std::to_string(c.hi));
        auto plot = MakeRamp(c.lo, c.hi);
        plot->m_y[7] = c.param.logScale == 1 ? -kInf : kNaN;  // log of zero; a damaged value
        plot->SetRange(c.param);
        EXPECT_DOUBLE_EQ(plot->m_yMax, c.yMax);
        EXPECT_DOUBLE_EQ(plot->m_yMin, c.yMin);
        EXPECT_DOUBLE_EQ(plot->m_yStep, c.yStep);
    }
}

TEST(GraphPlotAxes, EmptyOrUnboundedYAxisDrawsNoTicksAndNoCurve) {
    const double ranges[][2] = {{5.0, 5.0}, {kNaN, 10.0}, {0.0, 1e300}};
    for (const auto& r : ranges) {
        auto plot = MakePlot([](int i) { return 0.5 * i; });
        plot->SetRange({.yMaxLin = r[1], .yMinLin = r[0], .autoScale = 0});
        CRecordingCanvas canvas;
        plot->DrawYLabels(canvas, kLabelFont, kChartGreen);
        plot->DrawYGrid(canvas, kChartGreen);
        EXPECT_TRUE(canvas.OpsOfType(CanvasOpType::Text).empty()) << r[0] << " " << r[1];
        if (r[1] != 1e300) {
            plot->DrawSpectrum(canvas, 0, 1);
        }
        EXPECT_TRUE(canvas.OpsOfType(CanvasOpType::LineTo).empty()) << r[0] << " " << r[1];
    }
}

TEST(GraphPlotCurve, PointsOnOneCanvasPositionGiveOneVertexAndOneMarker) {
    auto plot = MakePlot([](int) { return 0.0; }, {0, 0, 10, 10});
    SetAxes(*plot, -1.0, 1.0);
    CRecordingCanvas canvas;
    plot->DrawSpectrum(canvas, MakeRgb(0, 0, 255), 1);
    const auto moves = canvas.OpsOfType(CanvasOpType::MoveTo);
    const auto lines = canvas.OpsOfType(CanvasOpType::LineTo);
    const auto markers = canvas.OpsOfType(CanvasOpType::Rectangle);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].to, (CanvasPoint{0, 5}));
    ASSERT_EQ(lines.size(), 10u);
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].to, (CanvasPoint{static_cast<int>(k) + 1, 5}));
        EXPECT_EQ(lines[k].pen, (CanvasPen{1, MakeRgb(0, 0, 255)}));
    }
    ASSERT_EQ(markers.size(), 11u);
    EXPECT_EQ(markers[3].rect, (CanvasRect{2, 4, 4, 6}));
}

// Far outside points are held to sixteen bits, minus infinity (the log of zero) drops to the
// bottom edge, and a NaN is bridged: no other height appears.
TEST(GraphPlotCurve, FarOutsidePointsAreHeldToSixteenBitsAndNaNIsBridged) {
    auto plot = MakePlot([](int i) { return i == 100 ? 1e12 : (i == 200 ? -1e12 : 10.0); });
    plot->m_x[300] = 1e15;
    plot->m_y[1000] = -kInf;
    plot->m_y[1500] = kNaN;
    SetAxes(*plot, 0.0, 100.0);
    CRecordingCanvas canvas;
    plot->DrawSpectrum(canvas, 0, 0);
    EXPECT_TRUE(HasVertex(canvas, {plot->MapX(plot->m_x[100]), -32768}));
    EXPECT_TRUE(HasVertex(canvas, {plot->MapX(plot->m_x[200]), 32767}));
    EXPECT_TRUE(HasVertex(canvas, {32767, plot->MapY(10.0)}));
    EXPECT_TRUE(HasVertex(canvas, {plot->MapX(plot->m_x[1000]), 32767}));
    for (const CanvasOp& op : canvas.Ops()) {
        if (op.type == CanvasOpType::MoveTo || op.type == CanvasOpType::LineTo) {
            EXPECT_TRUE(op.to.y == plot->MapY(10.0) || op.to.y == 32767 || op.to.y == -32768)
                << op.to.x;
        }
    }
}

// Irradiance or photon values at each pixel's wavelength; on a log scale their logarithm, with
// negative values raised to zero.
TEST(GraphPlotLoad, TakesIrradianceOrPhotonValuesAtEachPixelsWavelength) {
    CRadData data;
    testspectra::MakeSunDataSet(data);
    data.GetRecord(0)->spec[1].count[3] = -5;
    data.Select(0, 1);
    CGraphPlot plot;
    plot.LoadSpectrum(GRAPHPARAM{}, data);
    for (int i : {0, 100, 1024, 2047}) {
        EXPECT_DOUBLE_EQ(plot.m_x[i], static_cast<double>(data.m_wavelength[i]));
        EXPECT_NEAR(plot.m_value[i], testspectra::SunCounts(1, i), 1e-3);
        EXPECT_EQ(plot.m_y[i], plot.m_value[i]);
    }
    plot.LoadSpectrum({.logScale = 1, .unit = 1}, data);
    const double wl = data.m_wavelength[1024];
    EXPECT_NEAR(plot.m_value[1024], testspectra::SunCounts(1, 1024) * wl / 119.625512456, 1e-2);
    EXPECT_DOUBLE_EQ(plot.m_y[1024], std::log10(plot.m_value[1024]));
    EXPECT_EQ(plot.m_y[3], -kInf);
}

TEST(GraphPlotHostileInput, OddRangesAndValuesDrawDefinedBoundedPictures) {
    const double specials[] = {0.0,    -0.0, 1e-300, -5.0, 1e300,
                               -1e300, kInf, -kInf,  kNaN, 2147483648.0};
    const CanvasRect rects[] = {kPlotRect, {0, 0, 0, 0}, {500, 400, 10, 20}};
    int drawn = 0;
    for (double a : specials) {
        for (double b : specials) {
            for (const CanvasRect& rect : rects) {
                const GRAPHPARAM param{
                    .xMin = a, .yMaxLin = a, .xMax = b, .yMinLin = b, .autoScale = 0};
                auto plot = MakePlot(
                    [](int i) { return i % 3 == 0 ? 1e308 : (i % 3 == 1 ? -1e308 : 0.0); }, rect);
                plot->m_y[5] = kNaN;
                plot->m_y[6] = kInf;
                plot->SetRange(param);
                CRecordingCanvas canvas;
                plot->DrawXLabels(canvas, kLabelFont, kChartGreen);
                plot->DrawYLabels(canvas, kLabelFont, kChartGreen);
                plot->DrawXGrid(canvas, kChartGreen);
                plot->DrawYGrid(canvas, kChartGreen);
                plot->DrawSpectrum(canvas, 0, 1);
                ASSERT_LE(canvas.OpsOfType(CanvasOpType::Text).size(), 2 * 10001u);
                for (const CanvasOp& op : canvas.OpsOfType(CanvasOpType::LineTo)) {
                    if (op.clipped) {
                        ASSERT_TRUE(op.to.x >= -32768 && op.to.x <= 32767);
                        ASSERT_TRUE(op.to.y >= -32768 && op.to.y <= 32767);
                        ++drawn;
                    }
                }
            }
        }
    }
    EXPECT_GT(drawn, 0);
}
