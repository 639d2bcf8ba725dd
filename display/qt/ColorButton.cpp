// CColorButton: the swatch button that shows the colour of Measure0 with the word "Color".
#include "display/qt/ColorButton.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <cstdlib>

#include "display/qt/QtCanvas.h"

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    setAccessibleName(QStringLiteral("Color"));
}

void CColorButton::DrawItem(QPainter& painter, const QRect& rect) const {
    painter.save();
    painter.fillRect(rect, CQtCanvas::ToQColor(m_color));
    const QFont font = parentWidget() != nullptr ? parentWidget()->font() : this->font();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("Color");
    // Centred horizontally; the bottom of the text cell half a character height below the
    // middle, which centres the word vertically.
    const int half = std::abs(QFontInfo(font).pixelSize() / 2);
    const int x =
        (rect.left() + rect.left() + rect.width()) / 2 - metrics.horizontalAdvance(text) / 2;
    const int bottom = (rect.top() + rect.top() + rect.height()) / 2 + half;
    painter.drawText(x, bottom - metrics.descent(), text);
    painter.restore();
}

void CColorButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawItem(painter, rect());
}
