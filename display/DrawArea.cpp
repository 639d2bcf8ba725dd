// The page's drawing area on the screen, a printer and a metafile, and its placement.
#include "display/DrawArea.h"

#include <algorithm>
#include <cstdint>

#include "display/GraphMath.h"

namespace {

constexpr double kAspect = 0.75;  // height : width of the page
constexpr int kMarginDivisor = 40;

}  // namespace

DrawArea ScreenDrawArea(int clientWidth, int clientHeight) {
    const int cw = std::max(clientWidth, 0);
    const int ch = std::max(clientHeight, 0);
    DrawArea area;
    if (cw * kAspect > ch) {
        area.height = ch;
        area.width = graphmath::TruncToInt(ch / kAspect);
    } else {
        area.width = cw;
        area.height = graphmath::TruncToInt(cw * kAspect);
    }
    return area;
}

// A printer that reports no resolution is taken to have square pixels.
DrawArea PrinterDrawArea(const PrinterCaps& caps) {
    const int rh = std::max(caps.horzRes, 0);
    const int rv = std::max(caps.vertRes, 0);
    const bool resolved = caps.logPixelsX > 0 && caps.logPixelsY > 0;
    const double px = resolved ? caps.logPixelsX : 1.0;
    const double py = resolved ? caps.logPixelsY : 1.0;
    DrawArea area;
    area.width = rh;
    area.height = graphmath::TruncToInt(py * (rh * kAspect) / px);
    if (area.height > rv) {
        area.width = static_cast<int>(static_cast<int64_t>(rv) * rh / area.height);
        area.height = rv;
    }
    area.shiftX = area.width / kMarginDivisor;
    area.shiftY = area.height / kMarginDivisor;
    return area;
}

DrawArea MetafileDrawArea() {
    return {kMetafileWidth, kMetafileHeight, 0, 0};
}

DrawArea DrawAreaFor(CanvasKind kind, int clientWidth, int clientHeight, const PrinterCaps& caps) {
    switch (kind) {
        case CanvasKind::Printer:
        case CanvasKind::Preview:
            return PrinterDrawArea(caps);
        case CanvasKind::Metafile:
            return MetafileDrawArea();
        case CanvasKind::Screen:
            break;
    }
    return ScreenDrawArea(clientWidth, clientHeight);
}

void ApplyDrawArea(ICanvas& canvas, const DrawArea& area) {
    if (area.shiftX == 0 && area.shiftY == 0) {
        return;
    }
    const CanvasPoint org = canvas.GetWindowOrg();
    canvas.SetWindowOrg(graphmath::AddSaturated(org.x, -static_cast<int64_t>(area.shiftX)),
                        graphmath::AddSaturated(org.y, -static_cast<int64_t>(area.shiftY)));
}
