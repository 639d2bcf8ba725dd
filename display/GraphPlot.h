// CGraphPlot: one spectral chart (frame, grid, ticks, labels, curves) drawn on a canvas.
#pragma once

#include <string>

#include "data/RadRecord.h"
#include "display/ICanvas.h"

class CRadData;
struct GRAPHPARAM;

// Pen colour of frame, grid and tick marks.
inline constexpr Colour kChartGreen = MakeRgb(0, 128, 0);

// Curve colour of band position m: color0 for Measure0, then blue, black and green.
Colour CurveColour(const GRAPHPARAM& param, int m);

// Built for one drawing pass: set m_rect, then LoadSpectrum and SetRange before drawing.
class CGraphPlot {
public:
    void LoadSpectrum(const GRAPHPARAM& param, const CRadData& data);
    void SetRange(const GRAPHPARAM& param);
    static double CalcStep(double range);

    void DrawFrame(ICanvas& canvas, Colour colour, int penWidth) const;
    void DrawXGrid(ICanvas& canvas, Colour colour) const;
    void DrawYGrid(ICanvas& canvas, Colour colour) const;
    void DrawXLabels(ICanvas& canvas, const CanvasFont& font, Colour colour) const;
    void DrawYLabels(ICanvas& canvas, const CanvasFont& font, Colour colour) const;
    void DrawSpectrum(ICanvas& canvas, Colour colour, int marker) const;

    static std::string GetYTitle(const GRAPHPARAM& param);

    // Canvas position of a value; no clamping beyond the 32-bit range.
    int MapX(double x) const;
    int MapY(double y) const;

    CanvasRect m_rect;
    double m_x[kPixelCount] = {};
    double m_value[kPixelCount] = {};
    double m_xMin = 0.0;
    double m_yMax = 0.0;
    double m_xMax = 0.0;
    double m_yMin = 0.0;
    double m_xStep = 0.0;
    double m_yStep = 0.0;
    double m_y[kPixelCount] = {};

private:
    void AutoScaleY(bool logScale);
    CanvasRect SpectrumClip(const ICanvas& canvas) const;
    void DrawPoints(ICanvas& canvas, int marker) const;
};
