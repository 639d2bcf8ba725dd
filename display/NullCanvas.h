// CNullCanvas: a canvas that draws nothing, for timing the drawing code alone.
#pragma once

#include "display/ICanvas.h"

class CNullCanvas : public ICanvas {
public:
    explicit CNullCanvas(CanvasKind kind = CanvasKind::Screen) : m_kind(kind) {}

    CanvasKind Kind() const override { return m_kind; }
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(int, int, int, int) override {}
    void TextOut(int, int, const std::string&) override {}
    // One cell high and half a cell per byte, as a stand-in for real text metrics.
    CanvasSize GetTextExtent(const std::string& text) override {
        const long long width = static_cast<long long>(text.size()) * (m_font.height / 2);
        return {width > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(width), m_font.height};
    }
    int SetTextAlign(int align) override { return Swap(m_align, align); }
    Colour SetTextColor(Colour colour) override { return Swap(m_textColour, colour); }
    CanvasPen SelectPen(const CanvasPen& pen) override { return Swap(m_pen, pen); }
    CanvasFont SelectFont(const CanvasFont& font) override { return Swap(m_font, font); }
    void SelectClipRect(const CanvasRect&) override {}
    void RemoveClip() override {}
    CanvasRect LogicalToDevice(const CanvasRect& rect) const override { return rect; }
    CanvasPoint GetWindowOrg() const override { return m_windowOrg; }
    void SetWindowOrg(int x, int y) override { m_windowOrg = {x, y}; }

private:
    template <typename T>
    static T Swap(T& slot, const T& value) {
        T old = slot;
        slot = value;
        return old;
    }

    CanvasKind m_kind;
    int m_align = 0;
    Colour m_textColour = 0;
    CanvasPen m_pen;
    CanvasFont m_font{"System", 16, 0};
    CanvasPoint m_windowOrg;
};
