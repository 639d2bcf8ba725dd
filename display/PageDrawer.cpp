// CPageDrawer: the main window's page: titles, legend, record texts and the chart.
#include "display/PageDrawer.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "data/RadData.h"
#include "display/GraphMath.h"
#include "document/GraphParam.h"

namespace {

constexpr int kAboveFrame = 3;

constexpr const char* kXTitle = "Wavelength [nm]";
constexpr const char* kLegend = "--- Measure0  --- Measure1  --- Measure2  --- Measure3";
constexpr const char* kLegendMark = "--- ";
constexpr const char* kTimeFormat = "%Y/%m/%d %H:%M:%S";
constexpr const char* kQuantityFormat =
    "PAR : %.2f [W/m2]  PHOTON : %.1f [umol/m2/s]  LUM : %.1f [lux]  UV-A : %.2f [W/m2]";
constexpr const char* kTemperatureFormat = "T= %.1f[deg.C]";

constexpr int kTitleAlign = kAlignCenter | kAlignBaseline;
constexpr int kRecordTextAlign = kAlignLeft | kAlignBottom;

// Times before 1970 are refused, as the measuring program has always done; beyond that the
// C library decides.
bool FormatRecordTime(int32_t measTime, std::string& out) {
    struct tm local {};
    if (!ToLocalTime(measTime, local)) {
        return false;
    }
    out = FormatTime(kTimeFormat, local);
    return true;
}

}  // namespace

CPageDrawer::CPageDrawer(ICanvas& canvas, int width, int height)
    : CPageLayout(width, height), m_canvas(canvas) {
    m_plot.m_rect = ChartRect();
}

bool CPageDrawer::Draw(CRadData& data, const GRAPHPARAM& param, const PageTexts& texts) {
    m_savedFont = m_canvas.SelectFont(m_titleFont);
    const int savedAlign = m_canvas.SetTextAlign(kTitleAlign);
    DrawTitles(texts);
    DrawXTitle();
    DrawLegend(param);
    DrawYTitle(param);
    m_canvas.SelectFont(m_savedFont);
    m_plot.DrawFrame(m_canvas, kChartGreen, 2);

    bool complete = true;
    if (data.GetSize() > 0) {
        complete = DrawRecordTexts(data);
        m_canvas.SelectFont(m_savedFont);
        if (complete) {
            DrawChart(data, param);
        }
    }
    m_canvas.SetTextAlign(savedAlign);
    return complete;
}

void CPageDrawer::DrawTitles(const PageTexts& texts) {
    m_canvas.TextOut(m_width / 2, FractionOfHeight(0.05), texts.title);
    m_canvas.SetTextAlign(kTitleAlign);
    m_canvas.TextOut(m_width / 2, FractionOfHeight(0.09), texts.memo);
}

void CPageDrawer::DrawXTitle() {
    const CanvasRect& r = m_plot.m_rect;
    m_canvas.SelectFont(m_labelFont);
    m_canvas.SetTextAlign(kTitleAlign);
    m_canvas.TextOut(r.left + (r.right - r.left) / 3, FractionOfHeight(0.93), kXTitle);
}

// The whole legend is measured once and drawn in pieces from the current point, so it ends at
// the plot's right edge and only the "--- " marks take the curve colours.
void CPageDrawer::DrawLegend(const GRAPHPARAM& param) {
    m_canvas.SetTextAlign(kAlignUpdateCp);
    const int width = m_canvas.GetTextExtent(kLegend).cx;
    m_canvas.MoveTo(graphmath::AddSaturated(m_plot.m_rect.right, -static_cast<int64_t>(width)),
                    FractionOfHeight(0.93));
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        const Colour previous = m_canvas.SetTextColor(CurveColour(param, m));
        m_canvas.TextOut(0, 0, kLegendMark);
        m_canvas.SetTextColor(previous);
        m_canvas.TextOut(0, 0, FormatC(m < kSpectraPerRecord - 1 ? "Measure%d  " : "Measure%d", m));
    }
}

void CPageDrawer::DrawYTitle(const GRAPHPARAM& param) {
    m_canvas.SelectFont(m_verticalFont);
    m_canvas.SetTextAlign(kTitleAlign);
    m_canvas.TextOut(FractionOfWidth(0.05), m_height / 2, CGraphPlot::GetYTitle(param));
}

// Time stamp above the frame's left corner; quantities and temperature right-aligned above it.
bool CPageDrawer::DrawRecordTexts(CRadData& data) {
    data.Select(0, 0);
    m_canvas.SelectFont(m_labelFont);
    m_canvas.SetTextAlign(kRecordTextAlign);
    const RADDATA* record = data.GetRecord(0);
    std::string stamp;
    if (record == nullptr || !FormatRecordTime(record->measTime, stamp)) {
        return false;
    }
    const CanvasRect& r = m_plot.m_rect;
    const int lineBottom = r.top - kAboveFrame;
    m_canvas.TextOut(r.left, lineBottom, stamp);

    const std::string quantities =
        FormatC(kQuantityFormat, data.GetPAR(), data.GetPhoton(), data.GetLum(), data.GetUVA());
    const int wq = m_canvas.GetTextExtent(quantities).cx;
    m_canvas.TextOut(graphmath::AddSaturated(r.right, -static_cast<int64_t>(wq)), lineBottom,
                     quantities);

    const std::string temperature =
        FormatC(kTemperatureFormat, static_cast<double>(record->spec[0].temperature));
    const CanvasSize st = m_canvas.GetTextExtent(temperature);
    m_canvas.TextOut(graphmath::AddSaturated(r.right, -static_cast<int64_t>(st.cx)),
                     graphmath::AddSaturated(lineBottom, -static_cast<int64_t>(st.cy)),
                     temperature);
    return true;
}

// The axes follow Measure0 whether or not it is valid; the curves are drawn from Measure3 down
// so Measure0 lies on top.
void CPageDrawer::DrawChart(CRadData& data, const GRAPHPARAM& param) {
    m_plot.LoadSpectrum(param, data);
    m_plot.SetRange(param);
    m_plot.DrawXLabels(m_canvas, m_labelFont, kChartGreen);
    m_plot.DrawYLabels(m_canvas, m_labelFont, kChartGreen);
    if (param.grid == 1) {
        m_plot.DrawXGrid(m_canvas, kChartGreen);
        m_plot.DrawYGrid(m_canvas, kChartGreen);
    }
    const RADDATA* record = data.GetRecord(0);
    for (int m = kSpectraPerRecord - 1; m >= 0; --m) {
        data.Select(0, m);
        if (record->spec[m].valid != 0) {
            m_plot.LoadSpectrum(param, data);
            m_plot.DrawSpectrum(m_canvas, CurveColour(param, m), param.marker);
        }
    }
}
