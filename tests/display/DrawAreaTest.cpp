// The drawing area's placement on a canvas that already has a window origin. The areas of each
// surface and size are pinned by the page-operations reference.
#include <gtest/gtest.h>

#include "display/DrawArea.h"
#include "display/RecordingCanvas.h"

#include <utility>

// A window with no height or width has no area at all, not a sliver the page would draw into.
TEST(DrawArea, AWindowWithoutSizeHasNoArea) {
    for (const auto& [width, height] : {std::pair{0, 0}, {-50, 300}, {300, -50}}) {
        EXPECT_EQ(ScreenDrawArea(width, height), (DrawArea{0, 0, 0, 0})) << width << "x" << height;
    }
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
