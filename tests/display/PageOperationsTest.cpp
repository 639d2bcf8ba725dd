// The page as drawn on the recording canvas for a set of scenes (sizes, scales, units, ranges,
// surfaces), operation by operation, against the reference file data/page-operations.txt. The
// scenes are drawn under a decimal-comma locale in UTC: numbers keep their point, times print
// the same everywhere.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/RadData.h"
#include "display/DrawArea.h"
#include "display/PageDrawer.h"
#include "display/RecordingCanvas.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestFiles.h"

namespace {

const PageTexts kTexts{"Global irradiance", "Rooftop, clear sky"};

std::string Hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", c);
    return text;
}

std::string Point(CanvasPoint p) {
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

std::string Rect(const CanvasRect& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}

// One line per call with what the call itself set or drew.
std::string OperationLine(const CanvasOp& op) {
    switch (op.type) {
        case CanvasOpType::MoveTo:
            return "move " + Point(op.to);
        case CanvasOpType::LineTo:
            return "line " + Point(op.from) + " " + Point(op.to) + (op.clipped ? " clipped" : "");
        case CanvasOpType::Rectangle:
            return "rectangle " + Rect(op.rect);
        case CanvasOpType::Text:
            return "text " + Point(op.to) + " \"" + op.text + "\"";
        case CanvasOpType::SetTextAlign:
            return "align " + std::to_string(op.align);
        case CanvasOpType::SetTextColor:
            return "text colour " + Hex(op.textColour);
        case CanvasOpType::SelectPen:
            return "pen " + std::to_string(op.pen.width) + " " + Hex(op.pen.colour);
        case CanvasOpType::SelectFont:
            return "font \"" + op.font.face + "\" " + std::to_string(op.font.height) + " " +
                   std::to_string(op.font.escapement);
        case CanvasOpType::SelectClip:
            return "clip " + Rect(op.rect);
        case CanvasOpType::RemoveClip:
            return "no clip";
        case CanvasOpType::SetWindowOrg:
            return "window origin " + Point(op.to);
    }
    return "?";
}

// The operations one line each, except that a run of more than eight lines or rectangles (a
// curve, its markers) shows its first three and last calls, its length and a hash of them all.
std::string OperationLines(const std::vector<CanvasOp>& ops) {
    std::string out;
    for (size_t i = 0; i < ops.size();) {
        size_t end = i;
        while (end < ops.size() && ops[end].type == ops[i].type) {
            ++end;
        }
        const bool run = end - i > 8 && (ops[i].type == CanvasOpType::LineTo ||
                                         ops[i].type == CanvasOpType::Rectangle);
        if (!run) {
            out += OperationLine(ops[i++]) + "\n";
            continue;
        }
        uint64_t hash = 1469598103934665603ULL;
        for (size_t k = i; k < end; ++k) {
            for (const char c : OperationLine(ops[k])) {
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
            }
        }
        for (size_t k = i; k < i + 3; ++k) {
            out += OperationLine(ops[k]) + "\n";
        }
        out += "... " + std::to_string(end - i - 4) + " more, hash " + std::to_string(hash) + "\n" +
               OperationLine(ops[end - 1]) + "\n";
        i = end;
    }
    return out;
}

using enum CanvasKind;

struct Scene {
    const char* name;
    CanvasKind kind;
    int width, height;  // client size (screen) or page size in device units (other surfaces)
    bool sun = false;   // a sunlit record, or an empty data set
    GRAPHPARAM param{};
    unsigned validMask = 0xF;
    int spectrum = -1;  // the spectrum selected, -1: as the data set leaves it
    int32_t measTime = testspectra::kMeasTime;
    int dpiX = 600, dpiY = 600;  // the printer's resolution
};

constexpr GRAPHPARAM kManual{
    .xMin = 400.0, .yMaxLin = 2000.0, .xMax = 900.0, .yMinLin = 100.0, .autoScale = 0};
constexpr GRAPHPARAM kManualLog{.yMaxLog = 3.0, .yMinLog = -2.0, .logScale = 1, .autoScale = 0};
constexpr GRAPHPARAM kLogPhoton{.logScale = 1, .grid = 0, .unit = 1};
constexpr int32_t kTime = testspectra::kMeasTime;
constexpr GRAPHPARAM kLogUnit7{.logScale = 1, .unit = 7};
constexpr GRAPHPARAM kOwnColour{.marker = 1, .color0 = MakeRgb(200, 100, 50)};

const Scene kScenes[] = {
    {"empty data set", Screen, 800, 400, false, {}},
    {"sun, Measure2 not measured, own colour, grid, markers", Screen, 800, 400, true, kOwnColour,
     0b1011, 2},
    {"sun, log photon scale, no grid", Screen, 640, 600, true, kLogPhoton},
    {"sun, manual ranges", Screen, 1600, 1200, true, kManual},
    {"sun, manual log range", Screen, 800, 400, true, kManualLog},
    {"sun, reversed wavelength range", Screen, 800, 400, true, {.xMin = 700.0, .xMax = 400.0}},
    {"record time before 1970", Screen, 800, 400, true, {}, 0xF, -1, -1},
    {"sun on a printer page", Printer, 4800, 6600, true, {}},
    {"sun on a print preview", Preview, 4800, 6600, true, {}},
    {"sun in a metafile", Metafile, 4800, 6600, true, {}},
    // The area and the axis title of an empty page: sizes, resolutions, scales and units.
    {"empty, linear photon scale, window 640x600", Screen, 640, 600, false, {.unit = 1}},
    {"empty, log scale, window 640x480", Screen, 640, 480, false, {.logScale = 1}},
    {"empty, scale 2 reads as linear, no window", Screen, 0, 0, false, {.logScale = 2}},
    {"empty, unit 7 reads as photon, window -50x300", Screen, -50, 300, false, kLogUnit7},
    {"empty, window 300x-50", Screen, 300, -50, false, {}},
    {"empty, landscape page", Printer, 6600, 4800, false, {}},
    {"empty, pixels twice as tall", Printer, 4800, 6600, false, {}, 0xF, -1, kTime, 600, 300},
    {"empty, printer without resolution", Printer, 4800, 6600, false, {}, 0xF, -1, kTime, 0},
    {"empty, page without height", Printer, 4800, 0, false, {}},
    {"empty, negative page", Printer, -10, -10, false, {}, 0xF, -1, kTime, -1, -1},
};

std::string DrawScenes() {
    std::string out;
    for (const Scene& scene : kScenes) {
        CRadData data;
        if (scene.sun) {
            testspectra::MakeSunDataSet(data, scene.validMask, scene.measTime);
        }
        if (scene.spectrum >= 0) {
            data.Select(0, scene.spectrum);
        }
        CRecordingCanvas canvas(scene.kind);
        canvas.SetPreviewMapping(1, 2, {7, 9});
        const DrawArea area = DrawAreaFor(scene.kind, scene.width, scene.height,
                                          {scene.width, scene.height, scene.dpiX, scene.dpiY});
        ApplyDrawArea(canvas, area);
        canvas.SetTextAlign(kAlignRight);  // what the page finds must be what it leaves
        CPageDrawer drawer(canvas, area.width, area.height);
        const bool whole = drawer.Draw(data, scene.param, kTexts);
        out += "scene " + std::string(scene.name) + (whole ? "" : " (stopped)") + "\n";
        out += OperationLines(canvas.Ops());
        CanvasOp font;
        font.type = CanvasOpType::SelectFont;
        font.font = canvas.Font();
        CanvasOp pen;
        pen.type = CanvasOpType::SelectPen;
        pen.pen = canvas.Pen();
        out += "left: align " + std::to_string(canvas.TextAlign()) + ", " + OperationLine(font) +
               ", " + OperationLine(pen) + ", selected spectrum " + std::to_string(data.m_curSpec) +
               "\n";
    }
    return out;
}

TEST(PageOperations, EverySceneDrawsAsRecordedInTheReference) {
    ScopedTimeZone utc("UTC");
    CommaLocale comma;
    const std::string drawn = DrawScenes();
    EXPECT_TRUE(comma.Active()) << "de_DE.UTF-8 is not installed (scripts/setup.sh installs it)";
    EXPECT_EQ(ReferenceMismatch(drawn, HALVO_AREA_DATA_DIR "/page-operations.txt"), "");
}

TEST(PageOperations, OutlandishPageSizesStayInsideTheIntegerRange) {
    CRadData data;
    testspectra::MakeSunDataSet(data);
    const int sizes[][2] = {{0, 0}, {-800, -600}, {1, 1}, {2147483647, 2147483647}};
    for (const auto& s : sizes) {
        CRecordingCanvas canvas;
        CPageDrawer drawer(canvas, s[0], s[1]);
        EXPECT_TRUE(drawer.Draw(data, GRAPHPARAM{}, kTexts));
        const CanvasRect r = drawer.PlotRect();
        EXPECT_TRUE(r.left >= 0 && r.left <= r.right && r.top >= 0 && r.top <= r.bottom)
            << s[0] << "x" << s[1];
        EXPECT_LE(r.right, 1 << 20);
    }
}

}  // namespace
