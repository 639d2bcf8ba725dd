// The page rendered through Qt: into an image like the window shows it, or onto a printer/PDF.
#include "display/qt/QtPageOutput.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include "display/qt/QtCanvas.h"

namespace {

PageRenderResult DrawOn(QPainter& painter, CanvasKind kind, const DrawArea& area, CRadData& data,
                        const GRAPHPARAM& param, const PageTexts& texts) {
    CQtCanvas canvas(painter, kind);
    ApplyDrawArea(canvas, area);
    CPageDrawer drawer(canvas, area.width, area.height);
    return drawer.Draw(data, param, texts) ? PageRenderResult::Complete : PageRenderResult::Stopped;
}

}  // namespace

PrinterCaps PrinterCapsOf(const QPrinter& printer) {
    return {printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY()};
}

PageRenderResult RenderPageToImage(QImage& image, CRadData& data, const GRAPHPARAM& param,
                                   const PageTexts& texts) {
    image.fill(Qt::white);
    QPainter painter;
    if (!painter.begin(&image)) {
        return PageRenderResult::DeviceFailed;
    }
    const DrawArea area = ScreenDrawArea(image.width(), image.height());
    const PageRenderResult result = DrawOn(painter, CanvasKind::Screen, area, data, param, texts);
    painter.end();
    return result;
}

PageRenderResult RenderPageToPrinter(QPrinter& printer, CRadData& data, const GRAPHPARAM& param,
                                     const PageTexts& texts, CanvasKind kind) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PageRenderResult::DeviceFailed;
    }
    const DrawArea area = PrinterDrawArea(PrinterCapsOf(printer));
    const PageRenderResult result = DrawOn(painter, kind, area, data, param, texts);
    painter.end();
    return result;
}
