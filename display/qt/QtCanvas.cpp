// CQtCanvas: the canvas on a QPainter, for widgets, images, printers and PDF files.
#include "display/qt/QtCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "display/GraphMath.h"

namespace {

constexpr int kDefaultPixelSize = 16;
constexpr int kMaxPixelSize = 32767;
constexpr double kProbePixelSize = 1000.0;
constexpr double kTenthsPerDegree = 10.0;

QRect ToQRect(int left, int top, int right, int bottom) {
    const int64_t w = static_cast<int64_t>(right) - left;
    const int64_t h = static_cast<int64_t>(bottom) - top;
    return {left, top, graphmath::AddSaturated(w, 0), graphmath::AddSaturated(h, 0)};
}

}  // namespace

CQtCanvas::CQtCanvas(QPainter& painter, CanvasKind kind) : m_painter(painter), m_kind(kind) {
    m_painter.save();
    m_base = m_painter.worldTransform();
    m_painter.setFont(MakeFont(m_font));
    m_painter.setBrush(Qt::white);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    ApplyLinePen();
}

CQtCanvas::~CQtCanvas() {
    FlushLines();
    m_painter.restore();
}

QColor CQtCanvas::ToQColor(Colour colour) {
    return {static_cast<int>(RedOf(colour)), static_cast<int>(GreenOf(colour)),
            static_cast<int>(BlueOf(colour))};
}

void CQtCanvas::ApplyLinePen() {
    QPen pen(ToQColor(m_pen.colour));
    pen.setWidth(std::max(m_pen.width, 0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    m_painter.setPen(pen);
}

void CQtCanvas::FlushLines() {
    if (m_lines.size() > 1) {
        m_painter.drawPolyline(m_lines);
    }
    m_lines.clear();
}

void CQtCanvas::MoveTo(int x, int y) {
    FlushLines();
    m_current = {x, y};
}

void CQtCanvas::LineTo(int x, int y) {
    if (m_lines.isEmpty()) {
        m_lines.append(QPoint(m_current.x, m_current.y));
    }
    m_lines.append(QPoint(x, y));
    m_current = {x, y};
}

// The outline runs through the rectangle's last column and row inside (right, bottom).
void CQtCanvas::Rectangle(int left, int top, int right, int bottom) {
    FlushLines();
    m_painter.drawRect(ToQRect(left, top, graphmath::AddSaturated(right, -1),
                               graphmath::AddSaturated(bottom, -1)));
}

QPointF CQtCanvas::AlignedOrigin(const QString& text) const {
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    QPointF offset(0.0, 0.0);
    switch (m_align & kAlignHorizontalMask) {
        case kAlignCenter:
            offset.setX(-metrics.horizontalAdvance(text) / 2.0);
            break;
        case kAlignRight:
            offset.setX(-metrics.horizontalAdvance(text));
            break;
        default:
            break;
    }
    switch (m_align & kAlignVerticalMask) {
        case kAlignBaseline:
            break;
        case kAlignBottom:
            offset.setY(-metrics.descent());
            break;
        default:
            offset.setY(metrics.ascent());
            break;
    }
    return offset;
}

void CQtCanvas::TextOut(int x, int y, const std::string& text) {
    FlushLines();
    const QString qtext = QString::fromStdString(text);
    const bool atCurrent = (m_align & kAlignUpdateCp) != 0;
    const QPoint anchor = atCurrent ? QPoint(m_current.x, m_current.y) : QPoint(x, y);
    m_painter.setPen(ToQColor(m_textColour));
    m_painter.save();
    m_painter.translate(anchor);
    if (m_font.escapement != 0) {
        m_painter.rotate(-m_font.escapement / kTenthsPerDegree);
    }
    m_painter.drawText(AlignedOrigin(qtext), qtext);
    m_painter.restore();
    ApplyLinePen();
    if (atCurrent) {
        m_current.x = graphmath::AddSaturated(m_current.x, GetTextExtent(text).cx);
    }
}

CanvasSize CQtCanvas::GetTextExtent(const std::string& text) {
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const double width = std::ceil(metrics.horizontalAdvance(QString::fromStdString(text)));
    return {graphmath::TruncToInt(width), graphmath::TruncToInt(std::ceil(metrics.height()))};
}

int CQtCanvas::SetTextAlign(int align) {
    const int old = m_align;
    m_align = align;
    return old;
}

Colour CQtCanvas::SetTextColor(Colour colour) {
    const Colour old = m_textColour;
    m_textColour = colour;
    return old;
}

CanvasPen CQtCanvas::SelectPen(const CanvasPen& pen) {
    FlushLines();
    const CanvasPen old = m_pen;
    m_pen = pen;
    ApplyLinePen();
    return old;
}

// The face's cell height (ascent + descent) per em, measured once per face on this device.
double CQtCanvas::EmPerCell(const std::string& face) {
    const auto found = m_emPerCell.find(face);
    if (found != m_emPerCell.end()) {
        return found->second;
    }
    QFont probe(QString::fromStdString(face));
    probe.setPixelSize(static_cast<int>(kProbePixelSize));
    const QFontMetricsF metrics(probe, m_painter.device());
    const double cell = metrics.ascent() + metrics.descent();
    const double ratio = cell > 0.0 ? kProbePixelSize / cell : 1.0;
    m_emPerCell.emplace(face, ratio);
    return ratio;
}

// A positive height is a cell height, turned into the em size Qt asks for.
QFont CQtCanvas::MakeFont(const CanvasFont& font) {
    // No face: the application's font. A font naming no family at all crashes Qt 6.4 when a
    // print preview records it (QFont's stream operator reads its first family).
    QFont qfont = font.face.empty() ? QFont() : QFont(QString::fromStdString(font.face));
    double pixels = kDefaultPixelSize;
    if (font.height > 0) {
        pixels = std::round(font.height * EmPerCell(font.face));
    } else if (font.height < 0) {
        pixels = -static_cast<double>(font.height);
    }
    qfont.setPixelSize(static_cast<int>(std::clamp(pixels, 1.0, double{kMaxPixelSize})));
    return qfont;
}

CanvasFont CQtCanvas::SelectFont(const CanvasFont& font) {
    CanvasFont old = m_font;
    m_font = font;
    m_painter.setFont(MakeFont(font));
    return old;
}

void CQtCanvas::SelectClipRect(const CanvasRect& rect) {
    FlushLines();
    const QRect clip = ToQRect(rect.left, rect.top, rect.right, rect.bottom);
    if (m_kind == CanvasKind::Metafile) {
        m_painter.setClipRect(clip);
        return;
    }
    const QTransform logical = m_painter.worldTransform();
    m_painter.setWorldTransform(m_base);
    m_painter.setClipRect(clip);
    m_painter.setWorldTransform(logical);
}

void CQtCanvas::RemoveClip() {
    FlushLines();
    m_painter.setClipping(false);
}

CanvasRect CQtCanvas::LogicalToDevice(const CanvasRect& rect) const {
    const int64_t ox = m_windowOrg.x;
    const int64_t oy = m_windowOrg.y;
    return {graphmath::AddSaturated(rect.left, -ox), graphmath::AddSaturated(rect.top, -oy),
            graphmath::AddSaturated(rect.right, -ox), graphmath::AddSaturated(rect.bottom, -oy)};
}

void CQtCanvas::SetWindowOrg(int x, int y) {
    FlushLines();
    m_windowOrg = {x, y};
    m_painter.setWorldTransform(
        QTransform::fromTranslate(-static_cast<double>(x), -static_cast<double>(y)) * m_base);
}
