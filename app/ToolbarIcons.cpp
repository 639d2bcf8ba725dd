// The toolbar's 16 x 15 button images and the application icon, drawn in code.
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <numbers>

#include "resources/ResourceIds.h"

namespace {

const QColor kInk(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 210, 0);
const QColor kOrange(230, 120, 0);

void Pixel(QPainter& p, int x, int y, const QColor& c) {
    p.fillRect(x, y, 1, 1, c);
}

void HLine(QPainter& p, int x0, int x1, int y, const QColor& c) {
    p.fillRect(x0, y, x1 - x0 + 1, 1, c);
}

void VLine(QPainter& p, int x, int y0, int y1, const QColor& c) {
    p.fillRect(x, y0, 1, y1 - y0 + 1, c);
}

void Outline(QPainter& p, int left, int top, int right, int bottom, const QColor& c) {
    HLine(p, left, right, top, c);
    HLine(p, left, right, bottom, c);
    VLine(p, left, top, bottom, c);
    VLine(p, right, top, bottom, c);
}

// A diskette: shutter at the top, label below.
void DrawDisk(QPainter& p) {
    p.fillRect(1, 1, 13, 13, kNavy);
    p.fillRect(4, 1, 7, 5, kSilver);
    p.fillRect(8, 2, 2, 3, kNavy);
    p.fillRect(3, 8, 9, 6, kWhite);
    HLine(p, 4, 10, 10, kGrey);
    HLine(p, 4, 10, 12, kGrey);
}

void DrawSave(QPainter& p) {
    DrawDisk(p);
}

// The diskette with a green plus: data added to a file.
void DrawAppend(QPainter& p) {
    DrawDisk(p);
    p.fillRect(9, 7, 7, 7, kWhite);
    p.fillRect(11, 8, 3, 5, kGreen);
    p.fillRect(10, 9, 5, 3, kGreen);
    Outline(p, 9, 7, 15, 13, kGreen);
}

// A small chart: frame, axis ticks and a red spectrum.
void DrawGraph(QPainter& p) {
    p.fillRect(1, 1, 14, 13, kWhite);
    Outline(p, 1, 1, 14, 13, kGreen);
    const int curve[] = {12, 11, 9, 6, 4, 3, 4, 5, 5, 7, 9, 10};
    for (int i = 0; i < 12; ++i) {
        Pixel(p, 2 + i, curve[i], kRed);
        if (i > 0 && std::abs(curve[i] - curve[i - 1]) > 1) {
            const int from = std::min(curve[i], curve[i - 1]);
            const int to = std::max(curve[i], curve[i - 1]);
            VLine(p, 2 + i, from, to, kRed);
        }
    }
    const int photon[] = {12, 12, 11, 10, 9, 8, 8, 8, 9, 10, 11, 11};
    for (int i = 0; i < 12; ++i) {
        Pixel(p, 2 + i, photon[i], kBlue);
    }
}

// A globe with meridian and parallels: the site and the band's edge angle.
void DrawSetting(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(QColor(170, 210, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5.0, 1.5, 5, 12));
    p.drawLine(QPointF(1.5, 7.5), QPointF(13.5, 7.5));
    p.setRenderHint(QPainter::Antialiasing, false);
    // The edge angle: a red wedge in the corner.
    p.setPen(QPen(kRed, 1));
    p.drawLine(11, 14, 15, 14);
    p.drawLine(11, 14, 15, 10);
}

// The sun: a measurement of the sky.
void DrawExecute(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kOrange, 1.2));
    const QPointF centre(7.5, 7.0);
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4.0;
        p.drawLine(centre + QPointF(5.0 * std::cos(a), 5.0 * std::sin(a)),
                   centre + QPointF(7.0 * std::cos(a), 7.0 * std::sin(a)));
    }
    p.setBrush(kYellow);
    p.setPen(QPen(kOrange, 1));
    p.drawEllipse(centre, 3.5, 3.5);
}

// A clock face at ten past ten: the measurement repeated on a time grid.
void DrawInterval(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, 1));
    p.setBrush(kWhite);
    p.drawEllipse(QRectF(1.5, 1.0, 13, 13));
    p.setRenderHint(QPainter::Antialiasing, false);
    VLine(p, 8, 3, 7, kInk);
    p.drawLine(8, 7, 11, 9);
    for (const QPoint& tick : {QPoint(8, 2), QPoint(13, 7), QPoint(8, 12), QPoint(3, 7)}) {
        Pixel(p, tick.x(), tick.y(), kRed);
    }
}

// A printer with a sheet coming out.
void DrawPrint(QPainter& p) {
    p.fillRect(4, 0, 8, 5, kWhite);
    Outline(p, 4, 0, 11, 5, kInk);
    p.fillRect(1, 5, 14, 6, kSilver);
    Outline(p, 1, 5, 14, 10, kInk);
    Pixel(p, 12, 7, kGreen);
    p.fillRect(4, 10, 8, 5, kWhite);
    Outline(p, 4, 10, 11, 14, kInk);
    HLine(p, 5, 10, 12, kGrey);
}

// A question mark in a speech bubble.
void DrawAbout(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(QRectF(0.5, 0.5, 14, 12));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kBlue, 1));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, 15, 13), Qt::AlignCenter, QStringLiteral("?"));
    p.fillRect(3, 12, 2, 3, kNavy);
}

}  // namespace

QPixmap ToolbarImage(unsigned command) {
    void (*draw)(QPainter&) = nullptr;
    switch (command) {
        case ID_FILE_SAVE:
            draw = DrawSave;
            break;
        case ID_SAVE_APPEND:
            draw = DrawAppend;
            break;
        case ID_GRAPH_SETTING:
            draw = DrawGraph;
            break;
        case ID_MEAS_SETTING:
            draw = DrawSetting;
            break;
        case ID_MEAS_EXECUTE:
            draw = DrawExecute;
            break;
        case ID_INTERVAL_MEAS:
            draw = DrawInterval;
            break;
        case ID_FILE_PRINT:
            draw = DrawPrint;
            break;
        case ID_APP_ABOUT:
            draw = DrawAbout;
            break;
        default:
            return {};
    }
    QPixmap image(kToolbarImageWidth, kToolbarImageHeight);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter);
    return image;
}

QIcon ToolbarIcon(unsigned command) {
    const QPixmap image = ToolbarImage(command);
    return image.isNull() ? QIcon() : QIcon(image);
}

QPixmap ApplicationImage(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double s = size / 32.0;
    p.scale(s, s);
    // The sun and its rays.
    const QPointF centre(16, 13);
    p.setPen(QPen(kOrange, 2));
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6.0;
        p.drawLine(centre + QPointF(8 * std::cos(a), 8 * std::sin(a)),
                   centre + QPointF(12 * std::cos(a), 12 * std::sin(a)));
    }
    p.setBrush(kYellow);
    p.drawEllipse(centre, 6, 6);
    // The shadow band's arc below it.
    QPainterPath band;
    band.moveTo(3, 30);
    band.cubicTo(6, 20, 26, 20, 29, 30);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, 3));
    p.drawPath(band);
    return image;
}
