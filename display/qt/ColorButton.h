// CColorButton: the swatch button that shows the colour of Measure0 with the word "Color".
#pragma once

#include <QPushButton>

#include "display/ICanvas.h"

class QPainter;
class QPaintEvent;

class CColorButton : public QPushButton {
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr);

    // Paints the swatch into rect: the whole rectangle in m_color, "Color" centred on it in
    // black with the parent dialog's font. Pressed, focused and disabled look the same.
    void DrawItem(QPainter& painter, const QRect& rect) const;

    Colour m_color = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
};
