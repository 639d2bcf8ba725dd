// The page's drawing area on the screen, a printer and a metafile, and its placement.
#pragma once

#include "display/ICanvas.h"

// Width and height of the page in logical units and how far it is moved right and down.
struct DrawArea {
    int width = 0;
    int height = 0;
    int shiftX = 0;
    int shiftY = 0;
    bool operator==(const DrawArea&) const = default;
};

// The printer's printable area in pixels and its resolution in pixels per inch.
struct PrinterCaps {
    int horzRes = 0;
    int vertRes = 0;
    int logPixelsX = 0;
    int logPixelsY = 0;
};

inline constexpr int kMetafileWidth = 640;
inline constexpr int kMetafileHeight = 480;

// The largest 4:3 area at the client area's top-left corner.
DrawArea ScreenDrawArea(int clientWidth, int clientHeight);
// A 4:3 area in physical size across the page (or down it, when that is the tighter side),
// moved in by a fortieth of its size.
DrawArea PrinterDrawArea(const PrinterCaps& caps);
DrawArea MetafileDrawArea();
// The area for a canvas of the given kind (a preview is laid out like the printer it shows).
DrawArea DrawAreaFor(CanvasKind kind, int clientWidth, int clientHeight, const PrinterCaps& caps);
// Moves the canvas's window origin so the page lands shifted by the area's offsets.
void ApplyDrawArea(ICanvas& canvas, const DrawArea& area);
