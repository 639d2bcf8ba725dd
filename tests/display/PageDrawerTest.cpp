// Tests of the main window's page through the recording canvas: layout, texts, legend, chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "data/RadData.h"
#include "display/DrawArea.h"
#include "display/PageDrawer.h"
#include "display/RecordingCanvas.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"

namespace {

const PageTexts kTexts{"Global irradiance", "Rooftop, clear sky"};
const CanvasFont kTitleFont{"Times New Roman", 13, 0};
const CanvasFont kLabelFont{"Times New Roman", 8, 0};
constexpr int kCharWidth = (8 + 1) / 2;  // of the label font on the recording canvas

std::vector<std::string> TextsOf(const CRecordingCanvas& canvas) {
    std::vector<std::string> texts;
    for (const CanvasOp& op : canvas.OpsOfType(CanvasOpType::Text)) {
        texts.push_back(op.text);
    }
    return texts;
}

// The first text op whose text matches the pattern (a regular expression), or nullptr.
const CanvasOp* FindText(const CRecordingCanvas& canvas, const std::string& pattern) {
    const std::regex re(pattern);
    const auto& ops = canvas.Ops();
    const auto it = std::find_if(ops.begin(), ops.end(), [&](const CanvasOp& op) {
        return op.type == CanvasOpType::Text && std::regex_match(op.text, re);
    });
    return it == ops.end() ? nullptr : &*it;
}

// The text as a pattern matching only itself.
std::string Literally(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// Pen colours of the curve polylines, in drawing order.
std::vector<Colour> CurveColours(const CRecordingCanvas& canvas) {
    std::vector<Colour> colours;
    bool inCurve = false;
    for (const CanvasOp& op : canvas.Ops()) {
        if (op.type == CanvasOpType::SelectClip) {
            inCurve = true;
        } else if (op.type == CanvasOpType::LineTo && inCurve) {
            colours.push_back(op.pen.colour);
            inCurve = false;
        }
    }
    return colours;
}

// Every test runs in UTC, so record times print the same everywhere.
class PageDrawerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_savedTz = tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        m_savedTz ? setenv("TZ", m_savedTz->c_str(), 1) : unsetenv("TZ");
        tzset();
    }

    bool DrawScreen(int cw = 800, int ch = 400) {
        const DrawArea area = ScreenDrawArea(cw, ch);
        return CPageDrawer(m_canvas, area.width, area.height).Draw(m_data, m_param, kTexts);
    }
    const CanvasOp* Text(const std::string& text) const {
        return FindText(m_canvas, Literally(text));
    }

    CRadData m_data;
    GRAPHPARAM m_param;
    CRecordingCanvas m_canvas;
    std::optional<std::string> m_savedTz;
};

}  // namespace

TEST_F(PageDrawerTest, LayoutFollowsTheDrawingArea) {
    const struct {
        int cw, ch;
        CanvasRect plot;
        int titleHeight, labelHeight;
    } cases[] = {
        {800, 400, {74, 50, 490, 340}, 13, 8},
        {640, 600, {89, 60, 588, 408}, 16, 9},
        {1600, 1200, {224, 150, 1472, 1020}, 40, 24},
    };
    for (const auto& c : cases) {
        const DrawArea area = ScreenDrawArea(c.cw, c.ch);
        CPageDrawer drawer(m_canvas, area.width, area.height);
        EXPECT_EQ(drawer.PlotRect(), c.plot) << c.cw << "x" << c.ch;
        EXPECT_EQ(drawer.TitleFont(), (CanvasFont{"Times New Roman", c.titleHeight, 0}));
        EXPECT_EQ(drawer.LabelFont(), (CanvasFont{"Times New Roman", c.labelHeight, 0}));
        EXPECT_EQ(drawer.VerticalFont(), (CanvasFont{"Times New Roman", c.labelHeight, 900}));
    }
}

TEST_F(PageDrawerTest, EmptyDataSetShowsTitlesAxisTitlesLegendAndTheEmptyFrame) {
    ASSERT_TRUE(DrawScreen());
    EXPECT_EQ(TextsOf(m_canvas),
              (std::vector<std::string>{kTexts.title, kTexts.memo, "Wavelength [nm]", "--- ",
                                        "Measure0  ", "--- ", "Measure1  ", "--- ", "Measure2  ",
                                        "--- ", "Measure3", "Spectral irradiance [ W/m2/um ]"}));
    const auto frames = m_canvas.OpsOfType(CanvasOpType::Rectangle);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (CanvasRect{74, 50, 490, 340}));
    EXPECT_EQ(frames[0].pen, (CanvasPen{2, MakeRgb(0, 128, 0)}));
    EXPECT_TRUE(m_canvas.OpsOfType(CanvasOpType::LineTo).empty());
    EXPECT_TRUE(m_canvas.OpsOfType(CanvasOpType::SelectClip).empty());

    // Titles and axis titles sit centred at their fractions of the page.
    const struct {
        std::string text;
        CanvasPoint at;
        CanvasFont font;
    } expects[] = {
        {kTexts.title, {266, 20}, kTitleFont},
        {kTexts.memo, {266, 36}, kTitleFont},
        {"Wavelength [nm]", {74 + 416 / 3, 372}, kLabelFont},
        {"Spectral irradiance [ W/m2/um ]", {26, 200}, {"Times New Roman", 8, 900}},
    };
    for (const auto& e : expects) {
        const CanvasOp* op = Text(e.text);
        ASSERT_NE(op, nullptr) << e.text;
        EXPECT_EQ(op->to, e.at) << e.text;
        EXPECT_EQ(op->font, e.font) << e.text;
        EXPECT_EQ(op->align, kAlignCenter | kAlignBaseline) << e.text;
    }
}

TEST_F(PageDrawerTest, LegendEndsAtThePlotsRightEdgeWithOnlyTheMarksColoured) {
    m_param.color0 = MakeRgb(12, 34, 56);
    DrawScreen();
    const std::string legend = "--- Measure0  --- Measure1  --- Measure2  --- Measure3";
    int x = 490 - static_cast<int>(legend.size()) * kCharWidth;
    const Colour marks[] = {MakeRgb(12, 34, 56), MakeRgb(0, 0, 255), 0, MakeRgb(0, 255, 0)};
    int piece = 0;
    for (const CanvasOp& op : m_canvas.OpsOfType(CanvasOpType::Text)) {
        if (op.align != kAlignUpdateCp) {
            continue;
        }
        EXPECT_EQ(op.to, (CanvasPoint{x, 372})) << op.text;
        EXPECT_EQ(op.textColour, piece % 2 == 0 ? marks[piece / 2] : Colour{0}) << op.text;
        x += static_cast<int>(op.text.size()) * kCharWidth;
        ++piece;
    }
    EXPECT_EQ(piece, 8);
    EXPECT_EQ(x, 490);
    EXPECT_EQ(m_canvas.TextColor(), 0u);
}

// The quantities are those of Measure0 in W/m2 whichever spectrum is selected and unit shown.
TEST_F(PageDrawerTest, RecordTextsSitAboveTheFrameWithMeasure0Quantities) {
    testspectra::MakeSunDataSet(m_data);
    m_data.Select(0, 0);
    char quantities[200];
    std::snprintf(quantities, sizeof quantities,
                  "PAR : %.2f [W/m2]  PHOTON : %.1f [umol/m2/s]  LUM : %.1f [lux]  "
                  "UV-A : %.2f [W/m2]",
                  m_data.GetPAR(), m_data.GetPhoton(), m_data.GetLum(), m_data.GetUVA());
    m_data.Select(0, 2);
    m_param.unit = 1;
    ASSERT_TRUE(DrawScreen());

    const CanvasOp* stamp = Text("2023/11/14 22:13:20");
    ASSERT_NE(stamp, nullptr);
    EXPECT_EQ(stamp->to, (CanvasPoint{74, 47}));
    EXPECT_EQ(stamp->align, kAlignLeft | kAlignBottom);
    EXPECT_EQ(stamp->font, kLabelFont);
    const CanvasOp* line = Text(quantities);
    ASSERT_NE(line, nullptr) << quantities;
    EXPECT_EQ(line->to.x + static_cast<int>(line->text.size()) * kCharWidth, 490);
    EXPECT_EQ(line->to.y, 47);
    const CanvasOp* temperature = Text("T= 25.5[deg.C]");
    ASSERT_NE(temperature, nullptr);
    EXPECT_EQ(temperature->to, (CanvasPoint{490 - 14 * kCharWidth, 47 - 8}));
}

TEST_F(PageDrawerTest, ChartShowsTicksLabelsGridAndValidCurvesWithMeasure0OnTop) {
    m_param.color0 = MakeRgb(200, 100, 50);
    testspectra::MakeSunDataSet(m_data, 0b1011);  // Measure2 not measured
    for (int grid : {1, 0}) {
        SCOPED_TRACE(grid);
        m_param.grid = grid;
        m_canvas.Clear();
        DrawScreen();
        EXPECT_EQ(
            CurveColours(m_canvas),
            (std::vector<Colour>{MakeRgb(0, 255, 0), MakeRgb(0, 0, 255), MakeRgb(200, 100, 50)}));
        EXPECT_NE(Text("1100"), nullptr);
        EXPECT_NE(Text("0.0"), nullptr);
        int gridLines = 0;
        for (const CanvasOp& op : m_canvas.OpsOfType(CanvasOpType::LineTo)) {
            gridLines += op.from.x == op.to.x && op.from.y == 340 && op.to.y == 50 ? 1 : 0;
        }
        EXPECT_EQ(gridLines, 9 * grid);
        EXPECT_EQ(m_data.m_curSpec, 0);
        EXPECT_EQ(m_canvas.TextAlign(), kAlignLeft | kAlignTop);
        EXPECT_EQ(m_canvas.Font().face, "System");
    }
}

TEST_F(PageDrawerTest, YTitleAndLabelsFollowTheScale) {
    m_param.logScale = 1;
    m_param.unit = 1;
    testspectra::MakeSunDataSet(m_data);
    DrawScreen();
    EXPECT_NE(Text("Spectral irradiance [ Log umol/m2/s/um ]"), nullptr);
    // Photon values peak near 6500: the top decade is 10^4.
    EXPECT_NE(Text("4.0"), nullptr);
    EXPECT_NE(Text("0.0"), nullptr);
    EXPECT_EQ(Text("-1.0"), nullptr);
}

TEST_F(PageDrawerTest, RecordTimeBeforeNineteenSeventyStopsThePageAfterTheFrame) {
    testspectra::FillLinearGrid(m_data);
    testspectra::AddRecord(m_data, testspectra::SunCounts, 0xF, -1);
    m_canvas.SetTextAlign(kAlignRight);
    EXPECT_FALSE(DrawScreen());
    EXPECT_EQ(m_canvas.OpsOfType(CanvasOpType::Rectangle).size(), 1u);
    EXPECT_EQ(FindText(m_canvas, "(PAR|T=|19).*"), nullptr);
    EXPECT_TRUE(m_canvas.OpsOfType(CanvasOpType::LineTo).empty());
    EXPECT_EQ(m_canvas.TextAlign(), kAlignRight);
    EXPECT_EQ(m_canvas.Font().face, "System");
}

TEST_F(PageDrawerTest, PrinterPageIsShiftedAndClipsInDeviceUnits) {
    testspectra::MakeSunDataSet(m_data);
    CRecordingCanvas printer(CanvasKind::Printer);
    const DrawArea area = DrawAreaFor(CanvasKind::Printer, 0, 0, {4800, 6600, 600, 600});
    ApplyDrawArea(printer, area);
    CPageDrawer drawer(printer, area.width, area.height);
    ASSERT_TRUE(drawer.Draw(m_data, m_param, kTexts));
    EXPECT_EQ(drawer.PlotRect(), (CanvasRect{672, 450, 4416, 3060}));
    EXPECT_EQ(drawer.LabelFont().height, 72);
    const auto clips = printer.OpsOfType(CanvasOpType::SelectClip);
    ASSERT_EQ(clips.size(), 4u);
    EXPECT_EQ(clips[0].rect, (CanvasRect{673 + 120, 451 + 90, 4415 + 120, 3059 + 90}));
}

TEST_F(PageDrawerTest, NumbersKeepTheirPointUnderACommaLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed (scripts/setup.sh adds it)";
    }
    testspectra::MakeSunDataSet(m_data);
    DrawScreen();
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(Text("T= 25.5[deg.C]"), nullptr);
    EXPECT_NE(Text("0.0"), nullptr);
    EXPECT_EQ(FindText(m_canvas, ".*\\d,\\d.*"), nullptr);
}

TEST_F(PageDrawerTest, OutlandishPageSizesStayInsideTheIntegerRange) {
    testspectra::MakeSunDataSet(m_data);
    const int sizes[][2] = {{0, 0}, {-800, -600}, {1, 1}, {2147483647, 2147483647}};
    for (const auto& s : sizes) {
        CRecordingCanvas canvas;
        CPageDrawer drawer(canvas, s[0], s[1]);
        EXPECT_TRUE(drawer.Draw(m_data, m_param, kTexts));
        const CanvasRect r = drawer.PlotRect();
        EXPECT_TRUE(r.left >= 0 && r.left <= r.right && r.top >= 0 && r.top <= r.bottom)
            << s[0] << "x" << s[1];
        EXPECT_LE(r.right, 1 << 20);
    }
}
