// CTimeDlg: the modeless "Interval Measurement" dialog: clock, next slot, last file status.
#pragma once

#include "measurement/IIntervalDisplay.h"
#include "measurement/qt/ProgressDialog.h"

class CTimeDlg : public CProgressDialog, public IIntervalDisplay {
    Q_OBJECT
public:
    // Break posts WM_INTERVAL_BREAK to view, which is also the window the dialog centres on.
    CTimeDlg(Language language, QWidget* view);

    void SetTimeText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void Show() override;
    void SetTopmost(bool topmost) override;
    void Hide() override { hide(); }
    bool IsTopmost() const { return (windowFlags() & Qt::WindowStaysOnTopHint) != 0; }

    QLabel* m_time;    // static text 1018
    QLabel* m_status;  // static text 1030; the Break button is 1005
};
