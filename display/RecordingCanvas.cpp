// CRecordingCanvas: a canvas that keeps every drawing call with the state it was made in.
#include "display/RecordingCanvas.h"

#include <cstdint>

#include "display/GraphMath.h"

namespace {

constexpr int kDefaultCellHeight = 16;

int CellHeight(const CanvasFont& font) {
    if (font.height == 0) {
        return kDefaultCellHeight;
    }
    return font.height < 0 ? graphmath::AddSaturated(0, -static_cast<int64_t>(font.height))
                           : font.height;
}

// Characters, not bytes, of a UTF-8 text.
int64_t CharacterCount(const std::string& text) {
    int64_t n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0u) != 0x80u) {
            ++n;
        }
    }
    return n;
}

}  // namespace

void CRecordingCanvas::SetPreviewMapping(int numerator, int denominator, CanvasPoint viewportOrg) {
    m_previewNumerator = numerator;
    m_previewDenominator = denominator == 0 ? 1 : denominator;
    m_viewportOrg = viewportOrg;
}

std::vector<CanvasOp> CRecordingCanvas::OpsOfType(CanvasOpType type) const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : m_ops) {
        if (op.type == type) {
            out.push_back(op);
        }
    }
    return out;
}

CanvasOp& CRecordingCanvas::Record(CanvasOpType type) {
    CanvasOp& op = m_ops.emplace_back();
    op.type = type;
    op.pen = m_pen;
    op.font = m_font;
    op.align = m_align;
    op.textColour = m_textColour;
    op.clipped = m_clipped;
    op.clip = m_clip;
    return op;
}

void CRecordingCanvas::MoveTo(int x, int y) {
    m_current = {x, y};
    Record(CanvasOpType::MoveTo).to = m_current;
}

void CRecordingCanvas::LineTo(int x, int y) {
    CanvasOp& op = Record(CanvasOpType::LineTo);
    op.from = m_current;
    op.to = {x, y};
    m_current = op.to;
}

void CRecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Record(CanvasOpType::Rectangle).rect = {left, top, right, bottom};
}

void CRecordingCanvas::TextOut(int x, int y, const std::string& text) {
    const bool atCurrent = (m_align & kAlignUpdateCp) != 0;
    CanvasOp& op = Record(CanvasOpType::Text);
    op.to = atCurrent ? m_current : CanvasPoint{x, y};
    op.text = text;
    if (atCurrent) {
        m_current.x = graphmath::AddSaturated(m_current.x, GetTextExtent(text).cx);
    }
}

CanvasSize CRecordingCanvas::GetTextExtent(const std::string& text) {
    const int cell = CellHeight(m_font);
    const int64_t charWidth = (static_cast<int64_t>(cell) + 1) / 2;
    return {graphmath::AddSaturated(0, CharacterCount(text) * charWidth), cell};
}

int CRecordingCanvas::SetTextAlign(int align) {
    const int old = m_align;
    m_align = align;
    Record(CanvasOpType::SetTextAlign);
    return old;
}

Colour CRecordingCanvas::SetTextColor(Colour colour) {
    const Colour old = m_textColour;
    m_textColour = colour;
    Record(CanvasOpType::SetTextColor);
    return old;
}

CanvasPen CRecordingCanvas::SelectPen(const CanvasPen& pen) {
    const CanvasPen old = m_pen;
    m_pen = pen;
    Record(CanvasOpType::SelectPen);
    return old;
}

CanvasFont CRecordingCanvas::SelectFont(const CanvasFont& font) {
    CanvasFont old = m_font;
    m_font = font;
    Record(CanvasOpType::SelectFont);
    return old;
}

void CRecordingCanvas::SelectClipRect(const CanvasRect& rect) {
    m_clipped = true;
    m_clip = rect;
    Record(CanvasOpType::SelectClip).rect = rect;
}

void CRecordingCanvas::RemoveClip() {
    m_clipped = false;
    m_clip = {};
    Record(CanvasOpType::RemoveClip);
}

CanvasRect CRecordingCanvas::LogicalToDevice(const CanvasRect& rect) const {
    const int64_t ox = m_windowOrg.x;
    const int64_t oy = m_windowOrg.y;
    return {graphmath::AddSaturated(rect.left, -ox), graphmath::AddSaturated(rect.top, -oy),
            graphmath::AddSaturated(rect.right, -ox), graphmath::AddSaturated(rect.bottom, -oy)};
}

CanvasRect CRecordingCanvas::PrinterToScreen(const CanvasRect& rect) const {
    auto scale = [this](int v, int origin) {
        const int64_t scaled = static_cast<int64_t>(v) * m_previewNumerator / m_previewDenominator;
        return graphmath::AddSaturated(scaled, origin);
    };
    return {scale(rect.left, m_viewportOrg.x), scale(rect.top, m_viewportOrg.y),
            scale(rect.right, m_viewportOrg.x), scale(rect.bottom, m_viewportOrg.y)};
}

void CRecordingCanvas::SetWindowOrg(int x, int y) {
    m_windowOrg = {x, y};
    Record(CanvasOpType::SetWindowOrg).to = m_windowOrg;
}
