// CDayPage: a day (or days) of PAR and UV-A against local time, drawn with the spectral chart.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "display/GraphPlot.h"
#include "display/ICanvas.h"
#include "display/PageLayout.h"

class CRecordIndex;

// One curve of the day chart: a value per record, NaN where undefined.
struct DayCurve {
    std::string label;
    Colour colour = 0;
    std::vector<double> values;
};

// Hours since local midnight of the first record's day, and the curves over them.
struct DaySeries {
    std::string title;
    std::string subtitle;
    std::vector<double> hours;
    std::vector<DayCurve> curves;
};

// The curves of the day: global, diffuse and direct-horizontal PAR and global UV-A of every
// record of the index. False (with a message on err) when a time cannot be converted.
bool BuildDaySeries(const CRecordIndex& index, DaySeries& day, std::ostream& err);

// Draws one page of width x height logical units.
class CDayPage : private CPageLayout {
public:
    CDayPage(ICanvas& canvas, int width, int height);
    void Draw(const DaySeries& day);

private:
    void DrawTexts(const DaySeries& day);
    void DrawLegend(const DaySeries& day);
    void SetRanges(const DaySeries& day);
    void DrawCurve(const DaySeries& day, const DayCurve& curve);

    ICanvas& m_canvas;
    CGraphPlot m_plot;
};
