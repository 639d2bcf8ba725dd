// The page rendered through Qt: into an image like the window shows it, or onto a printer/PDF.
#pragma once

#include "display/DrawArea.h"
#include "display/PageDrawer.h"

class QImage;
class QPrinter;

enum class PageRenderResult {
    Complete,     // the whole page was drawn
    Stopped,      // the record's time could not be converted; the page ends after the frame
    DeviceFailed  // the painter could not start on the device
};

// Resolution and printable area of a printer, in its device pixels.
PrinterCaps PrinterCapsOf(const QPrinter& printer);

// Erases the image to white and draws the page as a window of the image's size shows it.
PageRenderResult RenderPageToImage(QImage& image, CRadData& data, const GRAPHPARAM& param,
                                   const PageTexts& texts);
// Draws the one page of a print job (or PDF) with the printer's margin shift.
PageRenderResult RenderPageToPrinter(QPrinter& printer, CRadData& data, const GRAPHPARAM& param,
                                     const PageTexts& texts, CanvasKind kind = CanvasKind::Printer);
