// ICanvas: the drawing surface the chart and the page are drawn on, with its value types.
#pragma once

#include <cstdint>
#include <string>

// 0x00BBGGRR: red in the lowest byte.
using Colour = uint32_t;

constexpr Colour MakeRgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned RedOf(Colour c) {
    return c & 0xFFu;
}
constexpr unsigned GreenOf(Colour c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(Colour c) {
    return (c >> 16) & 0xFFu;
}

// Text alignment codes: one horizontal and one vertical choice, optionally with kAlignUpdateCp
// (draw at the current point and advance it by the text's width).
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignUpdateCp = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCenter = 6;
inline constexpr int kAlignTop = 0;
inline constexpr int kAlignBottom = 8;
inline constexpr int kAlignBaseline = 24;
inline constexpr int kAlignHorizontalMask = 6;
inline constexpr int kAlignVerticalMask = 24;

enum class CanvasKind { Screen, Printer, Preview, Metafile };

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

struct CanvasSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CanvasSize&) const = default;
};

struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CanvasRect&) const = default;
};

// A solid pen.
struct CanvasPen {
    int width = 1;
    Colour colour = 0;
    bool operator==(const CanvasPen&) const = default;
};

// A font asked for by face. A positive height is the cell height (ascent plus descent), a
// negative one the character height, zero the surface's default; all in logical units.
// Escapement is in tenths of a degree counter-clockwise: 900 makes text run upwards.
struct CanvasFont {
    std::string face;
    int height = 0;
    int escapement = 0;
    bool operator==(const CanvasFont&) const = default;
};

// Coordinates are logical units with y growing downwards. Selecting a pen or a font returns the
// one it replaces so the caller can put it back; the brush is always the surface's white one.
class ICanvas {
public:
    virtual ~ICanvas() = default;

    virtual CanvasKind Kind() const = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Outline with the current pen, interior with the current brush.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;

    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual CanvasSize GetTextExtent(const std::string& text) = 0;
    virtual int SetTextAlign(int align) = 0;
    virtual Colour SetTextColor(Colour colour) = 0;

    virtual CanvasPen SelectPen(const CanvasPen& pen) = 0;
    virtual CanvasFont SelectFont(const CanvasFont& font) = 0;

    // Clip rectangle in device units (logical units on a metafile, which keeps its records in
    // logical space); right and bottom edges are excluded.
    virtual void SelectClipRect(const CanvasRect& rect) = 0;
    virtual void RemoveClip() = 0;
    virtual CanvasRect LogicalToDevice(const CanvasRect& rect) const = 0;
    // On a preview surface: printer device units to the screen's, viewport origin included.
    virtual CanvasRect PrinterToScreen(const CanvasRect& rect) const { return rect; }

    // The logical point that lands on the device origin.
    virtual CanvasPoint GetWindowOrg() const = 0;
    virtual void SetWindowOrg(int x, int y) = 0;
};
