// Tests of the page's drawing area on screen, printer and metafile, and of its placement.
#include <gtest/gtest.h>

#include "display/DrawArea.h"
#include "display/RecordingCanvas.h"

TEST(DrawArea, ScreenTakesTheLargestFourByThreeAreaAtTheTopLeft) {
    struct Case {
        int cw, ch;
        DrawArea area;
    };
    const Case cases[] = {
        {800, 400, {533, 400, 0, 0}}, {640, 600, {640, 480, 0, 0}},
        {640, 480, {640, 480, 0, 0}}, {1600, 1200, {1600, 1200, 0, 0}},
        {0, 0, {0, 0, 0, 0}},         {-50, 300, {0, 0, 0, 0}},
        {300, -50, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScreenDrawArea(c.cw, c.ch), c.area) << c.cw << "x" << c.ch;
    }
}

TEST(DrawArea, PrinterAreaIsFourByThreeInPhysicalSizeAndMovedInAFortieth) {
    struct Case {
        PrinterCaps caps;
        DrawArea area;
    };
    const Case cases[] = {
        {{4800, 6600, 600, 600}, {4800, 3600, 120, 90}},   // portrait
        {{6600, 4800, 600, 600}, {6400, 4800, 160, 120}},  // landscape: height was 4950
        {{4800, 6600, 600, 300}, {4800, 1800, 120, 45}},   // pixels twice as tall as wide
        {{4800, 6600, 0, 600}, {4800, 3600, 120, 90}},     // no resolution: square pixels
        {{4800, 0, 600, 600}, {0, 0, 0, 0}},               // no height at all
        {{-10, -10, -1, -1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrinterDrawArea(c.caps), c.area)
            << c.caps.horzRes << "x" << c.caps.vertRes << " at " << c.caps.logPixelsX << "x"
            << c.caps.logPixelsY;
    }
}

TEST(DrawArea, KindDecidesBetweenPrinterMetafileAndScreen) {
    const PrinterCaps caps{4800, 6600, 600, 600};
    EXPECT_EQ(DrawAreaFor(CanvasKind::Printer, 800, 400, caps), (DrawArea{4800, 3600, 120, 90}));
    EXPECT_EQ(DrawAreaFor(CanvasKind::Preview, 800, 400, caps), (DrawArea{4800, 3600, 120, 90}));
    EXPECT_EQ(DrawAreaFor(CanvasKind::Metafile, 800, 400, caps), (DrawArea{640, 480, 0, 0}));
    EXPECT_EQ(DrawAreaFor(CanvasKind::Screen, 800, 400, caps), (DrawArea{533, 400, 0, 0}));
}

TEST(DrawArea, ShiftMovesTheWindowOriginFromWhereItWas) {
    CRecordingCanvas canvas(CanvasKind::Printer);
    canvas.SetWindowOrg(10, 20);
    ApplyDrawArea(canvas, {4800, 3600, 120, 90});
    EXPECT_EQ(canvas.GetWindowOrg(), (CanvasPoint{-110, -70}));
    EXPECT_EQ(canvas.LogicalToDevice({0, 0, 1, 1}), (CanvasRect{110, 70, 111, 71}));

    CRecordingCanvas screen;
    ApplyDrawArea(screen, ScreenDrawArea(800, 400));
    EXPECT_TRUE(screen.Ops().empty());
}
