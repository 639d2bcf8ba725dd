// CDialogTemplate: a dialog's font and the placing of its controls in dialog units.
#include "document/qt/DialogTemplate.h"

#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>
#include <QWidget>
#include <cstdint>

#include "resources/DialogTexts.h"

namespace {

constexpr int kDialogPointSize = 9;
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// value * numerator / denominator rounded to the nearest integer, for non-negative values.
int Scale(int value, int numerator, int denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

}  // namespace

CDialogTemplate::CDialogTemplate(QDialog& dialog, Language language, int width, int height)
    : m_dialog(dialog), m_language(language) {
    const QFont font = DialogFont(language);
    dialog.setFont(font);
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as dialog templates measure their font.
    m_baseX = (metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)) / 26 + 1) / 2;
    m_baseY = metrics.height();
    dialog.setFixedSize(ToPixels({0, 0, width, height}).size());
}

QFont CDialogTemplate::DialogFont(Language language) {
    return QFont(QString::fromUtf8(DialogFontName(language)), kDialogPointSize);
}

QString CDialogTemplate::ControlName(int id) {
    return QString::number(id);
}

QRect CDialogTemplate::ToPixels(const DialogRect& r) const {
    // Both corners are mapped, so adjoining controls stay adjoining after rounding.
    const int left = Scale(r.x, m_baseX, 4);
    const int top = Scale(r.y, m_baseY, 8);
    return {left, top, Scale(r.x + r.w, m_baseX, 4) - left, Scale(r.y + r.h, m_baseY, 8) - top};
}

void CDialogTemplate::Place(QWidget* widget, const DialogRect& r, int id) const {
    widget->setGeometry(ToPixels(r));
    if (id != kNoId) {
        widget->setObjectName(ControlName(id));
    }
}

void CDialogTemplate::PlaceOkCancel(DialogTextId okText, const DialogRect& okRect,
                                    DialogTextId cancelText, const DialogRect& cancelRect) const {
    auto* ok = new QPushButton(QString::fromUtf8(LoadDialogText(okText, m_language)), &m_dialog);
    Place(ok, okRect, 1);
    ok->setDefault(true);
    auto* cancel =
        new QPushButton(QString::fromUtf8(LoadDialogText(cancelText, m_language)), &m_dialog);
    Place(cancel, cancelRect, 2);
    QObject::connect(ok, &QPushButton::clicked, &m_dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &m_dialog, &QDialog::reject);
}
