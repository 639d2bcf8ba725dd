// CGraphPlot: one spectral chart (frame, grid, ticks, labels, curves) drawn on a canvas.
#include "display/GraphPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "data/CLocaleFormat.h"
#include "data/NonCopyable.h"
#include "data/RadData.h"
#include "display/GraphMath.h"
#include "document/GraphParam.h"

namespace {

constexpr Colour kFixedCurveColours[kSpectraPerRecord] = {MakeRgb(255, 0, 0), MakeRgb(0, 0, 255),
                                                          MakeRgb(0, 0, 0), MakeRgb(0, 255, 0)};

constexpr double kLogMinTop = 1.0;
constexpr double kLogDecades = 4.0;
constexpr double kLinearHeadroom = 1.2;
constexpr double kLinearNegativeTop = 0.8;

// Restores pen, font and alignment when a drawing operation ends.
class CCanvasStateGuard : CNonCopyable {
public:
    explicit CCanvasStateGuard(ICanvas& canvas) : m_canvas(canvas) {}
    ~CCanvasStateGuard() {
        if (m_hasAlign) {
            m_canvas.SetTextAlign(m_align);
        }
        if (m_hasFont) {
            m_canvas.SelectFont(m_font);
        }
        if (m_hasPen) {
            m_canvas.SelectPen(m_pen);
        }
    }

    void Pen(const CanvasPen& pen) {
        const CanvasPen old = m_canvas.SelectPen(pen);
        if (!m_hasPen) {
            m_pen = old;
            m_hasPen = true;
        }
    }
    void Font(const CanvasFont& font) {
        const CanvasFont old = m_canvas.SelectFont(font);
        if (!m_hasFont) {
            m_font = old;
            m_hasFont = true;
        }
    }
    void Align(int align) {
        const int old = m_canvas.SetTextAlign(align);
        if (!m_hasAlign) {
            m_align = old;
            m_hasAlign = true;
        }
    }

private:
    ICanvas& m_canvas;
    CanvasPen m_pen;
    CanvasFont m_font;
    int m_align = 0;
    bool m_hasPen = false;
    bool m_hasFont = false;
    bool m_hasAlign = false;
};

}  // namespace

Colour CurveColour(const GRAPHPARAM& param, int m) {
    if (m == 0) {
        return param.color0;
    }
    return m > 0 && m < kSpectraPerRecord ? kFixedCurveColours[m] : 0;
}

void CGraphPlot::LoadSpectrum(const GRAPHPARAM& param, const CRadData& data) {
    const bool irradiance = param.unit == 0;
    for (int i = 0; i < kPixelCount; ++i) {
        m_x[i] = static_cast<double>(data.m_wavelength[i]);
        m_value[i] = irradiance ? data.GetIrradiance(m_x[i]) : data.GetPhotonIrradiance(m_x[i]);
    }
    if (param.logScale == 1) {
        for (int i = 0; i < kPixelCount; ++i) {
            m_y[i] = std::log10(std::max(0.0, m_value[i]));
        }
    } else {
        std::copy(std::begin(m_value), std::end(m_value), std::begin(m_y));
    }
}

void CGraphPlot::SetRange(const GRAPHPARAM& param) {
    const bool logScale = param.logScale == 1;
    m_xMin = param.xMin;
    m_xMax = param.xMax;
    m_xStep = CalcStep(m_xMax - m_xMin);
    if (param.autoScale == 1) {
        AutoScaleY(logScale);
    } else if (logScale) {
        m_yMax = param.yMaxLog;
        m_yMin = param.yMinLog;
    } else {
        m_yMax = param.yMaxLin;
        m_yMin = param.yMinLin;
    }
    m_yStep = logScale ? 1.0 : CalcStep(m_yMax - m_yMin);
}

// Values that are not finite (log of zero, NaN from a damaged calibration) take no part in the
// autoscale; with none left the log axis shows its lowest four decades and the linear axis is
// empty, which draws no ticks and no curves.
void CGraphPlot::AutoScaleY(bool logScale) {
    double hi = -std::numeric_limits<double>::infinity();
    double lo = std::numeric_limits<double>::infinity();
    for (double y : m_y) {
        if (std::isfinite(y)) {
            hi = std::max(hi, y);
            lo = std::min(lo, y);
        }
    }
    if (logScale) {
        m_yMax = std::max(std::ceil(hi), kLogMinTop);
        m_yMin = m_yMax - kLogDecades;
        return;
    }
    if (!std::isfinite(hi)) {
        hi = lo = 0.0;
    }
    m_yMax = hi > 0.0 ? kLinearHeadroom * hi : kLinearNegativeTop * hi;
    m_yMin = lo > 0.0 ? lo : kLinearHeadroom * lo;
}

double CGraphPlot::CalcStep(double range) {
    return graphmath::CalcStep(range);
}

int CGraphPlot::MapX(double x) const {
    const int w = graphmath::AddSaturated(m_rect.right, -static_cast<int64_t>(m_rect.left));
    return graphmath::AddSaturated(m_rect.left, graphmath::AxisOffset(x, m_xMin, m_xMax, w));
}

int CGraphPlot::MapY(double y) const {
    const int h = graphmath::AddSaturated(m_rect.bottom, -static_cast<int64_t>(m_rect.top));
    const int64_t offset = graphmath::AxisOffset(y, m_yMin, m_yMax, h);
    return graphmath::AddSaturated(m_rect.bottom, -offset);
}

void CGraphPlot::DrawFrame(ICanvas& canvas, Colour colour, int penWidth) const {
    CCanvasStateGuard guard(canvas);
    guard.Pen({penWidth, colour});
    canvas.Rectangle(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
}

void CGraphPlot::DrawXGrid(ICanvas& canvas, Colour colour) const {
    CCanvasStateGuard guard(canvas);
    guard.Pen({1, colour});
    for (double v : graphmath::TickValues(m_xMin, m_xMax, m_xStep)) {
        const int x = MapX(v);
        canvas.MoveTo(x, m_rect.bottom);
        canvas.LineTo(x, m_rect.top);
    }
}

void CGraphPlot::DrawYGrid(ICanvas& canvas, Colour colour) const {
    CCanvasStateGuard guard(canvas);
    guard.Pen({1, colour});
    for (double v : graphmath::TickValues(m_yMin, m_yMax, m_yStep)) {
        const int y = MapY(v);
        canvas.MoveTo(m_rect.left, y);
        canvas.LineTo(m_rect.right, y);
    }
}

void CGraphPlot::DrawXLabels(ICanvas& canvas, const CanvasFont& font, Colour colour) const {
    CCanvasStateGuard guard(canvas);
    guard.Pen({1, colour});
    guard.Font(font);
    guard.Align(kAlignCenter | kAlignTop);
    const int tickEnd = graphmath::AddSaturated(m_rect.bottom, font.height);
    for (double v : graphmath::TickValues(m_xMin, m_xMax, m_xStep)) {
        const int x = MapX(v);
        canvas.TextOut(x, tickEnd, FormatC("%.0f", v));
        canvas.MoveTo(x, m_rect.bottom);
        canvas.LineTo(x, tickEnd);
    }
}

void CGraphPlot::DrawYLabels(ICanvas& canvas, const CanvasFont& font, Colour colour) const {
    CCanvasStateGuard guard(canvas);
    guard.Pen({1, colour});
    guard.Font(font);
    guard.Align(kAlignRight | kAlignBaseline);
    const int tickEnd = graphmath::AddSaturated(m_rect.left, -static_cast<int64_t>(font.height));
    for (double v : graphmath::TickValues(m_yMin, m_yMax, m_yStep)) {
        const int y = MapY(v);
        canvas.TextOut(tickEnd, y, FormatC("%.1f", v));
        canvas.MoveTo(m_rect.left, y);
        canvas.LineTo(tickEnd, y);
    }
}

// One unit inside the frame, in the units the canvas clips in.
CanvasRect CGraphPlot::SpectrumClip(const ICanvas& canvas) const {
    CanvasRect clip{graphmath::AddSaturated(m_rect.left, 1), graphmath::AddSaturated(m_rect.top, 1),
                    graphmath::AddSaturated(m_rect.right, -1),
                    graphmath::AddSaturated(m_rect.bottom, -1)};
    const CanvasKind kind = canvas.Kind();
    if (kind != CanvasKind::Metafile) {
        clip = canvas.LogicalToDevice(clip);
    }
    if (kind == CanvasKind::Preview) {
        clip = canvas.PrinterToScreen(clip);
    }
    return clip;
}

void CGraphPlot::DrawSpectrum(ICanvas& canvas, Colour colour, int marker) const {
    if (!graphmath::AxisUsable(m_xMin, m_xMax) || !graphmath::AxisUsable(m_yMin, m_yMax)) {
        return;
    }
    canvas.SelectClipRect(SpectrumClip(canvas));
    {
        CCanvasStateGuard guard(canvas);
        guard.Pen({1, colour});
        DrawPoints(canvas, marker);
    }
    canvas.RemoveClip();
}

// A NaN value has no place on the axis: the curve runs on from the last point to the next one.
// Infinite values (log of zero) are held at the 16-bit edge and cut by the clip.
void CGraphPlot::DrawPoints(ICanvas& canvas, int marker) const {
    bool started = false;
    CanvasPoint last;
    for (int i = 0; i < kPixelCount; ++i) {
        if (std::isnan(m_x[i]) || std::isnan(m_y[i])) {
            continue;
        }
        const CanvasPoint p{graphmath::ClampToShort(MapX(m_x[i])),
                            graphmath::ClampToShort(MapY(m_y[i]))};
        if (!started) {
            canvas.MoveTo(p.x, p.y);
            started = true;
        } else if (p == last) {
            continue;
        } else {
            canvas.LineTo(p.x, p.y);
        }
        if (marker == 1) {
            canvas.Rectangle(p.x - 1, p.y - 1, p.x + 1, p.y + 1);
        }
        last = p;
    }
}

std::string CGraphPlot::GetYTitle(const GRAPHPARAM& param) {
    const bool log = param.logScale == 1;
    if (param.unit == 0) {
        return log ? "Spectral irradiance [ Log W/m2/um ]" : "Spectral irradiance [ W/m2/um ]";
    }
    return log ? "Spectral irradiance [ Log umol/m2/s/um ]"
               : "Spectral irradiance [ umol/m2/s/um ]";
}
