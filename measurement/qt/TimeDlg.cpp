// CTimeDlg: the modeless "Interval Measurement" dialog: clock, next slot, last file status.
#include "measurement/qt/TimeDlg.h"

#include <QLabel>

#include "measurement/qt/ViewMessage.h"

CTimeDlg::CTimeDlg(Language language, QWidget* view)
    : CProgressDialog(language, view, DialogTextId::IntervalProgressTitle,
                      DialogTextId::IntervalProgressBreak, "intervalBreak", WM_INTERVAL_BREAK),
      m_time(AddLabel("intervalTime")),
      m_status(AddLabel("intervalStatus")) {
    m_time->setMinimumSize(160, 40);
}

void CTimeDlg::SetTimeText(const std::string& text) {
    m_time->setText(QString::fromStdString(text));
    m_time->setAccessibleName(m_time->text());
}

void CTimeDlg::SetStatusText(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
    m_status->setAccessibleName(m_status->text());
}

void CTimeDlg::Show() {
    CenterOverView();
    SetTopmost(true);
    show();
    raise();
}

// Changing a window's flags hides it; a visible dialog is shown again where it was.
void CTimeDlg::SetTopmost(bool topmost) {
    if (IsTopmost() == topmost) {
        return;
    }
    const bool visible = isVisible();
    const QPoint at = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (visible) {
        move(at);
        show();
    }
}
