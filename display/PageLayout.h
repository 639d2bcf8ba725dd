// CPageLayout: a page's size, its three fonts and where its chart stands, shared by the pages.
#pragma once

#include "display/ICanvas.h"

class CPageLayout {
protected:
    // The sizes are held to [0, kMaxPageSide]; the fonts scale with the height.
    CPageLayout(int width, int height);

    int FractionOfWidth(double fraction) const;
    int FractionOfHeight(double fraction) const;
    // The chart's frame: 14 % to 92 % of the width, 12.5 % to 85 % of the height.
    CanvasRect ChartRect() const;

    int m_width;
    int m_height;
    CanvasFont m_titleFont;
    CanvasFont m_labelFont;
    CanvasFont m_verticalFont;
};
