// CDialogTemplate: a dialog's font and the placing of its controls in dialog units.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "resources/DialogTexts.h"
#include "resources/Language.h"

class QDialog;
class QWidget;

// A rectangle in dialog units: x and w in quarters of the font's average character width,
// y and h in eighths of its height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

class CDialogTemplate {
public:
    // The dialog gets the language's dialog font and a fixed size of width x height units.
    CDialogTemplate(QDialog& dialog, Language language, int width, int height);

    // The language's dialog font at 9 points.
    static QFont DialogFont(Language language);
    // The name a control is found by: its resource id in decimal.
    static QString ControlName(int id);

    QRect ToPixels(const DialogRect& r) const;
    // Places widget at r; a control with an id (not kNoId) is named after it.
    void Place(QWidget* widget, const DialogRect& r, int id = kNoId) const;
    // The dialog's default button (id 1), which accepts, and its cancel button (id 2), which
    // rejects, with the language's texts.
    void PlaceOkCancel(DialogTextId okText, const DialogRect& okRect, DialogTextId cancelText,
                       const DialogRect& cancelRect) const;

    static constexpr int kNoId = -1;

private:
    QDialog& m_dialog;
    Language m_language;
    int m_baseX;
    int m_baseY;
};
