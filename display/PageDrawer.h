// CPageDrawer: the main window's page: titles, legend, record texts and the chart.
#pragma once

#include <string>

#include "display/GraphPlot.h"
#include "display/ICanvas.h"
#include "display/PageLayout.h"

class CRadData;
struct GRAPHPARAM;

// What the page shows besides the data set and the graph settings.
struct PageTexts {
    std::string title;  // first title line
    std::string memo;   // second title line
};

// Draws one page of width x height logical units; a fresh drawer for every drawing pass.
class CPageDrawer : private CPageLayout {
public:
    CPageDrawer(ICanvas& canvas, int width, int height);

    // Draws record 0 of the data set. Returns false when the record's time cannot be converted to
    // local time: the page then stops after the frame, without quantities, temperature or chart.
    bool Draw(CRadData& data, const GRAPHPARAM& param, const PageTexts& texts);

    const CanvasRect& PlotRect() const { return m_plot.m_rect; }
    const CanvasFont& TitleFont() const { return m_titleFont; }
    const CanvasFont& LabelFont() const { return m_labelFont; }
    const CanvasFont& VerticalFont() const { return m_verticalFont; }

private:
    void DrawTitles(const PageTexts& texts);
    void DrawXTitle();
    void DrawLegend(const GRAPHPARAM& param);
    void DrawYTitle(const GRAPHPARAM& param);
    bool DrawRecordTexts(CRadData& data);
    void DrawChart(CRadData& data, const GRAPHPARAM& param);

    ICanvas& m_canvas;
    CanvasFont m_savedFont;
    CGraphPlot m_plot;
};
