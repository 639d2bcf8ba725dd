// CQtCanvas: the canvas on a QPainter, for widgets, images, printers and PDF files.
#pragma once

#include <QColor>
#include <QFont>
#include <QPolygon>
#include <QTransform>
#include <map>
#include <string>

#include "data/NonCopyable.h"
#include "display/ICanvas.h"

class QPainter;

// Logical units are the painter's coordinates at construction, moved by the window origin;
// device units are the painter's coordinates at construction. The painter's state is saved on
// construction and restored on destruction. Consecutive lines are drawn as one polyline.
class CQtCanvas : public ICanvas, CNonCopyable {
public:
    CQtCanvas(QPainter& painter, CanvasKind kind);
    ~CQtCanvas() override;

    static QColor ToQColor(Colour colour);

    CanvasKind Kind() const override { return m_kind; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    CanvasSize GetTextExtent(const std::string& text) override;
    int SetTextAlign(int align) override;
    Colour SetTextColor(Colour colour) override;
    CanvasPen SelectPen(const CanvasPen& pen) override;
    CanvasFont SelectFont(const CanvasFont& font) override;
    void SelectClipRect(const CanvasRect& rect) override;
    void RemoveClip() override;
    CanvasRect LogicalToDevice(const CanvasRect& rect) const override;
    CanvasPoint GetWindowOrg() const override { return m_windowOrg; }
    void SetWindowOrg(int x, int y) override;

private:
    void FlushLines();
    void ApplyLinePen();
    QFont MakeFont(const CanvasFont& font);
    double EmPerCell(const std::string& face);
    QPointF AlignedOrigin(const QString& text) const;

    QPainter& m_painter;
    CanvasKind m_kind;
    QTransform m_base;
    CanvasPoint m_windowOrg;
    CanvasPoint m_current;
    QPolygon m_lines;
    CanvasPen m_pen{1, 0};
    CanvasFont m_font;
    int m_align = kAlignLeft | kAlignTop;
    Colour m_textColour = 0;
    std::map<std::string, double> m_emPerCell;
};
