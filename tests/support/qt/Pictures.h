// The pictures and PDF files the tests draw: pixel counts and pages.
#pragma once

#include <QFile>
#include <QImage>
#include <QRect>
#include <QRegularExpression>
#include <functional>

// How many pixels of the region (the whole image when it is null) the predicate picks.
inline int CountPixels(const QImage& image, const std::function<bool(QRgb)>& pick,
                       QRect region = {}) {
    region = region.isNull() ? image.rect() : region & image.rect();
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            n += pick(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

// How many pixels of the region have exactly this colour (alpha aside).
inline int CountPixels(const QImage& image, QRgb colour, QRect region = {}) {
    return CountPixels(
        image, [colour](QRgb p) { return (p & 0xFFFFFFu) == (colour & 0xFFFFFFu); }, region);
}

// The number of pages of a PDF file; -1 when it cannot be read or is no PDF.
inline int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF-")) {
        return -1;
    }
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(R"(/Type\s*/Page[^s])")));
}
