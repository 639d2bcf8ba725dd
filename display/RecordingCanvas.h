// CRecordingCanvas: a canvas that keeps every drawing call with the state it was made in.
#pragma once

#include <string>
#include <vector>

#include "display/ICanvas.h"

enum class CanvasOpType {
    MoveTo,
    LineTo,
    Rectangle,
    Text,
    SetTextAlign,
    SetTextColor,
    SelectPen,
    SelectFont,
    SelectClip,
    RemoveClip,
    SetWindowOrg,
};

// One call. Lines run from `from` to `to`; MoveTo, Text and SetWindowOrg use `to`; Rectangle and
// SelectClip use `rect`. Every call also records the pen, font, alignment, text colour and clip
// in force when it was made (for SelectPen, SelectFont and SetText* the newly set value).
struct CanvasOp {
    CanvasOpType type = CanvasOpType::MoveTo;
    CanvasPoint from;
    CanvasPoint to;
    CanvasRect rect;
    std::string text;
    CanvasPen pen;
    CanvasFont font;
    int align = 0;
    Colour textColour = 0;
    bool clipped = false;
    CanvasRect clip;
};

// Text is measured with a fixed metric so layouts can be checked exactly: every character is
// (cell height + 1) / 2 wide and a line is one cell high (a zero height counts as 16).
class CRecordingCanvas : public ICanvas {
public:
    explicit CRecordingCanvas(CanvasKind kind = CanvasKind::Screen) : m_kind(kind) {}

    // Preview surfaces: screen = printer * numerator / denominator + viewport origin.
    void SetPreviewMapping(int numerator, int denominator, CanvasPoint viewportOrg);

    const std::vector<CanvasOp>& Ops() const { return m_ops; }
    std::vector<CanvasOp> OpsOfType(CanvasOpType type) const;
    void Clear() { m_ops.clear(); }
    CanvasPoint CurrentPoint() const { return m_current; }
    const CanvasPen& Pen() const { return m_pen; }
    const CanvasFont& Font() const { return m_font; }
    int TextAlign() const { return m_align; }
    Colour TextColor() const { return m_textColour; }
    bool Clipped() const { return m_clipped; }

    CanvasKind Kind() const override { return m_kind; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    CanvasSize GetTextExtent(const std::string& text) override;
    int SetTextAlign(int align) override;
    Colour SetTextColor(Colour colour) override;
    CanvasPen SelectPen(const CanvasPen& pen) override;
    CanvasFont SelectFont(const CanvasFont& font) override;
    void SelectClipRect(const CanvasRect& rect) override;
    void RemoveClip() override;
    CanvasRect LogicalToDevice(const CanvasRect& rect) const override;
    CanvasRect PrinterToScreen(const CanvasRect& rect) const override;
    CanvasPoint GetWindowOrg() const override { return m_windowOrg; }
    void SetWindowOrg(int x, int y) override;

private:
    CanvasOp& Record(CanvasOpType type);

    CanvasKind m_kind;
    std::vector<CanvasOp> m_ops;
    CanvasPoint m_current;
    CanvasPen m_pen{1, 0};
    CanvasFont m_font{"System", 16, 0};
    int m_align = kAlignLeft | kAlignTop;
    Colour m_textColour = 0;
    bool m_clipped = false;
    CanvasRect m_clip;
    CanvasPoint m_windowOrg;
    int m_previewNumerator = 1;
    int m_previewDenominator = 1;
    CanvasPoint m_viewportOrg;
};
