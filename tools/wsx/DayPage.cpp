// The day chart: series of the records' components, axes over hours and the curves on a canvas.
#include "DayPage.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>

#include "RecordIndex.h"
#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"
#include "display/GraphMath.h"
#include "document/GraphParam.h"

namespace {

constexpr double kHeadroom = 1.1;
constexpr const char* kXTitle = "Local time [h]";
constexpr const char* kYTitle = "Irradiance [ W/m2 ]";
constexpr const char* kLegendMark = "--- ";

// Days since 1970 of a local calendar date, so records after midnight continue the hour axis.
int64_t LocalDayNumber(const struct tm& local) {
    struct tm date {};
    date.tm_year = local.tm_year;
    date.tm_mon = local.tm_mon;
    date.tm_mday = local.tm_mday;
    return static_cast<int64_t>(timegm(&date)) / 86400;
}

// A chart holds kPixelCount points: a longer series is thinned evenly.
size_t Stride(size_t points) {
    return std::max<size_t>(1, (points + kPixelCount - 1) / kPixelCount);
}

}  // namespace

bool BuildDaySeries(const CRecordIndex& index, DaySeries& day, std::ostream& err) {
    day.hours.clear();
    day.curves = {{"PAR global", MakeRgb(255, 0, 0), {}},
                  {"PAR diffuse", MakeRgb(0, 0, 255), {}},
                  {"PAR direct horizontal", MakeRgb(255, 140, 0), {}},
                  {"UV-A global", MakeRgb(128, 0, 128), {}}};
    auto record = std::make_unique<RADDATA>();
    auto components = std::make_unique<CRecordComponents>();
    std::unique_ptr<CQuantityWeights> weights;
    std::vector<unsigned char> bytes;
    int64_t firstDay = 0;
    for (const IndexedRecord& r : index.Records()) {
        struct tm local {};
        if (!ToLocalTime(r.time, local)) {
            err << "halvo-wsx: record " << r.record << " of '" << index.Path(r.file)
                << "' has a time that cannot be converted\n";
            return false;
        }
        if (day.hours.empty()) {
            firstDay = LocalDayNumber(local);
            day.subtitle = FormatTime("%Y/%m/%d", local);
        }
        const CRadData& header = index.Header(r.file);
        if (!weights || !weights->SameGrid(header)) {
            weights = std::make_unique<CQuantityWeights>(header);
        }
        if (!index.Decode(r, *record, bytes)) {
            err << "halvo-wsx: cannot read record " << r.record << " of '" << index.Path(r.file)
                << "'\n";
            return false;
        }
        components->Compute(header, *weights, *record);
        day.hours.push_back(24.0 * static_cast<double>(LocalDayNumber(local) - firstDay) +
                            local.tm_hour + local.tm_min / 60.0 + local.tm_sec / 3600.0);
        const SpectrumQuantities* q = components->m_component;
        day.curves[0].values.push_back(q[CRecordComponents::kGlobal].par);
        day.curves[1].values.push_back(q[CRecordComponents::kDiffuse].par);
        day.curves[2].values.push_back(q[CRecordComponents::kDirectHorizontal].par);
        day.curves[3].values.push_back(q[CRecordComponents::kGlobal].uva);
    }
    return true;
}

CDayPage::CDayPage(ICanvas& canvas, int width, int height)
    : CPageLayout(width, height), m_canvas(canvas) {
    m_plot.m_rect = ChartRect();
}

void CDayPage::Draw(const DaySeries& day) {
    const CanvasFont savedFont = m_canvas.SelectFont(m_titleFont);
    const int savedAlign = m_canvas.SetTextAlign(kAlignCenter | kAlignBaseline);
    DrawTexts(day);
    m_plot.DrawFrame(m_canvas, kChartGreen, 2);
    SetRanges(day);
    m_plot.DrawXLabels(m_canvas, m_labelFont, kChartGreen);
    m_plot.DrawYLabels(m_canvas, m_labelFont, kChartGreen);
    m_plot.DrawXGrid(m_canvas, kChartGreen);
    m_plot.DrawYGrid(m_canvas, kChartGreen);
    for (const DayCurve& curve : day.curves) {
        DrawCurve(day, curve);
    }
    m_canvas.SelectFont(savedFont);
    m_canvas.SetTextAlign(savedAlign);
}

void CDayPage::DrawTexts(const DaySeries& day) {
    m_canvas.TextOut(m_width / 2, FractionOfHeight(0.05), day.title);
    m_canvas.TextOut(m_width / 2, FractionOfHeight(0.09), day.subtitle);
    m_canvas.SelectFont(m_labelFont);
    const CanvasRect& r = m_plot.m_rect;
    m_canvas.TextOut(r.left + (r.right - r.left) / 3, FractionOfHeight(0.93), kXTitle);
    DrawLegend(day);
    m_canvas.SelectFont(m_verticalFont);
    m_canvas.SetTextAlign(kAlignCenter | kAlignBaseline);
    m_canvas.TextOut(FractionOfWidth(0.05), m_height / 2, kYTitle);
}

// Measured whole and drawn in pieces from the current point, ending at the plot's right edge.
void CDayPage::DrawLegend(const DaySeries& day) {
    std::string whole;
    for (const DayCurve& curve : day.curves) {
        whole += (whole.empty() ? "" : "  ") + std::string(kLegendMark) + curve.label;
    }
    m_canvas.SetTextAlign(kAlignUpdateCp);
    const int width = m_canvas.GetTextExtent(whole).cx;
    m_canvas.MoveTo(graphmath::AddSaturated(m_plot.m_rect.right, -static_cast<int64_t>(width)),
                    FractionOfHeight(0.97));
    for (size_t c = 0; c < day.curves.size(); ++c) {
        const Colour previous = m_canvas.SetTextColor(day.curves[c].colour);
        m_canvas.TextOut(0, 0, kLegendMark);
        m_canvas.SetTextColor(previous);
        m_canvas.TextOut(0, 0, day.curves[c].label + (c + 1 < day.curves.size() ? "  " : ""));
    }
}

// Whole hours around the records; from zero (or the lowest value) to a tenth above the highest.
void CDayPage::SetRanges(const DaySeries& day) {
    double lo = 0.0;
    double hi = -std::numeric_limits<double>::infinity();
    for (const DayCurve& curve : day.curves) {
        for (double v : curve.values) {
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    GRAPHPARAM param;
    param.autoScale = 0;
    param.xMin = day.hours.empty() ? 0.0 : std::floor(day.hours.front());
    param.xMax = day.hours.empty() ? 24.0 : std::ceil(day.hours.back());
    if (param.xMax <= param.xMin) {
        param.xMax = param.xMin + 1.0;
    }
    param.yMinLin = lo < 0.0 ? kHeadroom * lo : 0.0;
    param.yMaxLin = hi > 0.0 ? kHeadroom * hi : 1.0;
    m_plot.SetRange(param);
}

void CDayPage::DrawCurve(const DaySeries& day, const DayCurve& curve) {
    const size_t stride = Stride(day.hours.size());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    size_t k = 0;
    for (int i = 0; i < kPixelCount; ++i, k += stride) {
        const bool used = k < day.hours.size();
        m_plot.m_x[i] = used ? day.hours[k] : nan;
        m_plot.m_y[i] = used ? curve.values[k] : nan;
    }
    m_plot.DrawSpectrum(m_canvas, curve.colour, 0);
}
