// CMeasDlg: the modeless, topmost "Meas Now" dialog showing a measurement's progress.
#pragma once

#include "measurement/IProgressDisplay.h"
#include "measurement/qt/ProgressDialog.h"

class CMeasDlg : public CProgressDialog, public IProgressDisplay {
    Q_OBJECT
public:
    // Break posts WM_MEAS_BREAK to view, which is also the window the dialog centres on.
    CMeasDlg(Language language, QWidget* view);

    void SetMessage(const std::string& text) override;
    void Show() override;
    void Hide() override { hide(); }

    QLabel* m_text;  // static text 1022; the Break button is 1029
};
