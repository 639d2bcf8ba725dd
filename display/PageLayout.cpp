// CPageLayout: page size, fonts in proportion to the height, and the chart's frame.
#include "display/PageLayout.h"

#include <algorithm>

#include "display/GraphMath.h"

namespace {

constexpr const char* kFontFace = "Times New Roman";
constexpr int kTitleDivisor = 30;
constexpr int kLabelDivisor = 50;
constexpr int kUpwards = 900;
// Far beyond any screen or printer page; keeps every position sum inside the integer range.
constexpr int kMaxPageSide = 1 << 20;

}  // namespace

CPageLayout::CPageLayout(int width, int height)
    : m_width(std::clamp(width, 0, kMaxPageSide)),
      m_height(std::clamp(height, 0, kMaxPageSide)),
      m_titleFont{kFontFace, m_height / kTitleDivisor, 0},
      m_labelFont{kFontFace, m_height / kLabelDivisor, 0},
      m_verticalFont{kFontFace, m_height / kLabelDivisor, kUpwards} {}

int CPageLayout::FractionOfWidth(double fraction) const {
    return graphmath::TruncToInt(m_width * fraction);
}

int CPageLayout::FractionOfHeight(double fraction) const {
    return graphmath::TruncToInt(m_height * fraction);
}

CanvasRect CPageLayout::ChartRect() const {
    return {FractionOfWidth(0.14), FractionOfHeight(0.125), FractionOfWidth(0.92),
            FractionOfHeight(0.85)};
}
